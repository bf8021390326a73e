#include "wine/adb/sh_script.h"

std::string QuoteForSh(std::string_view word)
{
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    quoted += '\'';
    return quoted;
}

std::string ForwardScript(std::string_view program, const std::vector<std::string>& args,
                          const ScriptFiles& files)
{
    std::string script = QuoteForSh(program);
    for (const std::string& arg : args)
        script += ' ' + QuoteForSh(arg);
    script += " </dev/null >" + QuoteForSh(files.output) + " 2>&1\n";
    script += "echo $? >" + QuoteForSh(files.pending) + "\n";
    script += "mv -f " + QuoteForSh(files.pending) + ' ' + QuoteForSh(files.done) + "\n";
    return script;
}
