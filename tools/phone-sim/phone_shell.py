"""The phone's tiny shell: just enough to set and read property files.

Understood commands:
    echo WORDS...            prints the words and a newline
    echo WORDS... > FILE     writes them (plus newline) to FILE; `>>` appends
    cat FILE...              prints the files
Commands can be chained with `;` and `&&`.  Any other command prints
`/system/bin/sh: CMD: not found`.

Phone paths are mapped below a host directory (the "phone root"), so
`/data/property/persist.sys.country` lives at
`<root>/data/property/persist.sys.country`.  Paths are normalised first,
so `..` cannot leave the phone root.
"""

import os
import posixpath
import shlex

SHELL = "/system/bin/sh"


class PhoneShell:
    def __init__(self, root, rooted=True):
        self.root = root
        self.rooted = rooted

    def host_path(self, phone_path):
        # The shell of `adb shell` starts in "/", so relative paths hang off it.
        normalised = posixpath.normpath(posixpath.join("/", phone_path))
        return os.path.join(self.root, normalised.lstrip("/"))

    def run(self, command_line):
        """Run a command line and return everything it prints (bytes).

        stdout and stderr are merged, the way an old-style `shell:` stream
        carries them."""
        try:
            tokens = _tokenize(command_line)
        except ValueError as error:
            return ("%s: syntax error: %s\n" % (SHELL, error)).encode()
        output = []
        last_ok = True
        for connector, words in _split_commands(tokens):
            if connector == "&&" and not last_ok:
                continue
            last_ok = self._run_simple(words, output)
        return "".join(output).encode()

    def _run_simple(self, words, output):
        redirect, words, error = _take_redirect(words)
        if error:
            output.append("%s: %s\n" % (SHELL, error))
            return False
        if not words:
            return True
        name, args = words[0], words[1:]
        if name == "echo":
            return self._echo(args, redirect, output)
        if name == "cat" and redirect is None:
            return self._cat(args, output)
        output.append("%s: %s: not found\n" % (SHELL, name))
        return False

    def _echo(self, args, redirect, output):
        text = " ".join(args) + "\n"
        if redirect is None:
            output.append(text)
            return True
        mode, path = redirect
        if not self.rooted:
            output.append("%s: can't create %s: Permission denied\n" % (SHELL, path))
            return False
        target = self.host_path(path)
        try:
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "a" if mode == ">>" else "w", encoding="utf-8") as file:
                file.write(text)
        except OSError as error:
            output.append("%s: can't create %s: %s\n" % (SHELL, path, error.strerror))
            return False
        return True

    def _cat(self, paths, output):
        ok = True
        for path in paths:
            try:
                with open(self.host_path(path), encoding="utf-8", errors="replace") as file:
                    output.append(file.read())
            except FileNotFoundError:
                output.append("cat: %s: No such file or directory\n" % path)
                ok = False
            except IsADirectoryError:
                output.append("cat: %s: Is a directory\n" % path)
                ok = False
        return ok


def _tokenize(command_line):
    lexer = shlex.shlex(command_line, posix=True, punctuation_chars=";&>")
    lexer.whitespace_split = True
    return list(lexer)


def _split_commands(tokens):
    """Yield (connector, words) where connector is how the command is joined
    to the previous one: None, ';' or '&&'."""
    connector, words = None, []
    for token in tokens:
        if token in (";", "&&"):
            yield connector, words
            connector, words = token, []
        else:
            words.append(token)
    yield connector, words


def _take_redirect(words):
    """Split `> FILE` / `>> FILE` off a command.

    Returns (redirect or None, remaining words, error text or None)."""
    for index, word in enumerate(words):
        if word in (">", ">>"):
            if index + 1 >= len(words):
                return None, words, "syntax error: unexpected newline"
            rest = words[:index] + words[index + 2:]
            return (word, words[index + 1]), rest, None
        if word and set(word) <= set(";&>"):
            return None, words, "syntax error: '%s' unexpected" % word
    return None, words, None
