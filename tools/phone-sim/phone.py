"""The simulated phone: its adb listener, reboots and announcements.

An adb server finds emulator-style phones in two ways: it scans ports
5555, 5557, ... once when it starts, and it connects to any port that is
announced to it with the host request `host:emulator:<port>`.  The phone
listens on its port and announces itself whenever it (re)starts, so it is
found whether the server started before or after it.  It announces itself
again whenever its last connection to the server ends while it is up (the
server was killed): a restarted server scans only 5555..5585 and would
never see a phone on another port otherwise.
"""

import asyncio
import os
import sys
import time

from adb_session import Session
from phone_shell import PhoneShell

ANNOUNCE_INTERVAL = 0.5
ANNOUNCE_GIVE_UP = 30.0


class Phone:
    def __init__(self, port, server_port, prop_dir, mode="device", rooted=True,
                 product=("phonesim", "PhoneSim", "phonesim"), reboot_seconds=3.0,
                 log_path=None, ready_file=None):
        self.port = port
        self.server_port = server_port
        self.mode = mode
        self.product = product
        self.reboot_seconds = reboot_seconds
        self.log_path = log_path
        self.ready_file = ready_file
        self.shell = PhoneShell(prop_dir, rooted=rooted)
        self.listener = None
        self.sessions = set()
        self.connections_since_announcing = 0
        self.announcer = None
        self.rebooter = None

    @property
    def serial(self):
        return "emulator-%d" % (self.port - 1)

    def banner(self):
        name, model, device = self.product
        text = "device::ro.product.name=%s;ro.product.model=%s;ro.product.device=%s;" % (
            name, model, device)
        return text.encode()

    def say(self, text):
        print("phone-sim[%d]: %s" % (self.port, text), file=sys.stderr, flush=True)

    def log_request(self, service):
        self.say("service request %r" % service)
        if self.log_path:
            with open(self.log_path, "a", encoding="utf-8") as log:
                log.write(service + "\n")
                log.flush()

    # -- lifecycle --------------------------------------------------------

    async def start(self):
        await self.boot()
        if self.ready_file:
            write_atomically(self.ready_file, "port=%d\nserial=%s\nprop_dir=%s\n" % (
                self.port, self.serial, self.shell.root))

    async def boot(self):
        self.listener = await asyncio.start_server(
            self.on_connection, "127.0.0.1", self.port, reuse_address=True)
        self.say("listening on 127.0.0.1:%d as %s (%s)" % (self.port, self.serial, self.mode))
        self.start_announcing()

    def start_announcing(self):
        """Start the announcement loop afresh (a loop still running from an
        earlier start is replaced, so the give-up time counts from now)."""
        if self.announcer is not None:
            self.announcer.cancel()
        self.connections_since_announcing = 0
        self.announcer = asyncio.get_running_loop().create_task(self.announce())

    async def shut_down(self):
        """Stop listening and drop every connection, like a phone powering off."""
        if self.announcer is not None:
            self.announcer.cancel()
        if self.listener is not None:
            self.listener.close()
            self.listener = None
        sessions = list(self.sessions)
        for session in sessions:
            session.close()
        # Let the closing connections flush their last messages (e.g. the
        # CLSE that ends a reboot request) before going on.
        if sessions:
            closed = asyncio.gather(*(s.writer.wait_closed() for s in sessions),
                                    return_exceptions=True)
            try:
                await asyncio.wait_for(closed, 1.0)
            except asyncio.TimeoutError:
                pass

    def request_reboot(self, argument):
        if self.rebooter is None or self.rebooter.done():
            self.say("reboot requested%s" % (" (%s)" % argument if argument else ""))
            self.rebooter = asyncio.get_running_loop().create_task(self.reboot())

    async def reboot(self):
        await self.shut_down()
        started = time.monotonic()
        await asyncio.sleep(self.reboot_seconds)
        while True:
            try:
                await self.boot()
                break
            except OSError as error:
                # Someone took the port while the phone was away; keep trying.
                self.say("cannot listen again: %s" % error.strerror)
                await asyncio.sleep(1.0)
        self.say("back after %.1f s" % (time.monotonic() - started))

    async def stop(self):
        if self.rebooter is not None:
            self.rebooter.cancel()
        await self.shut_down()
        if self.ready_file:
            try:
                os.unlink(self.ready_file)
            except FileNotFoundError:
                pass

    # -- connections ------------------------------------------------------

    async def on_connection(self, reader, writer):
        self.connections_since_announcing += 1
        session = Session(self, reader, writer)
        self.sessions.add(session)
        self.say("adb server connected")
        try:
            await session.run()
        finally:
            self.sessions.discard(session)
            self.say("adb server disconnected")
            # Still up and nobody connected: the server went away (killed or
            # restarted), so tell the next server where the phone is.  While
            # rebooting or stopping the listener is already gone.
            if self.listener is not None and not self.sessions:
                self.say("announcing again")
                self.start_announcing()

    async def announce(self):
        """Send `host:emulator:<port>` to the adb server until it connects.

        A single announcement is what an emulator sends; repeating it covers
        the short time after a reboot in which the server still holds the
        old connection and ignores announcements for a port it knows."""
        request = ("host:emulator:%d" % self.port).encode()
        deadline = time.monotonic() + ANNOUNCE_GIVE_UP
        while self.connections_since_announcing == 0 and time.monotonic() < deadline:
            try:
                reader, writer = await asyncio.wait_for(
                    asyncio.open_connection("127.0.0.1", self.server_port), 2.0)
                writer.write(b"%04x" % len(request) + request)
                await writer.drain()
                # The server closes the connection without answering.
                await asyncio.wait_for(reader.read(), 2.0)
                writer.close()
            except (OSError, asyncio.TimeoutError):
                pass
            await asyncio.sleep(ANNOUNCE_INTERVAL)


def write_atomically(path, text):
    temporary = "%s.%d.tmp" % (path, os.getpid())
    with open(temporary, "w", encoding="utf-8") as file:
        file.write(text)
    os.replace(temporary, path)
