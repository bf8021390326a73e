"""One TCP connection from an adb server to the simulated phone.

The session answers the server's CNXN according to the phone's mode:

* "device":       CNXN back, then serve OPEN requests (shell:, reboot:).
* "offline":      never answer, so the server keeps the phone `offline`.
* "unauthorized": answer with AUTH tokens and never accept a signature, so
                  the server lists the phone as `unauthorized`.
"""

import asyncio
import os

import adb_wire as wire

OKAY_TIMEOUT = 10.0


class Stream:
    """A service stream opened by the server: ids on both ends plus the
    flow-control signal (the server answers each WRTE with OKAY)."""

    def __init__(self, local_id, remote_id):
        self.local_id = local_id
        self.remote_id = remote_id
        self.okay = asyncio.Event()
        self.closed = False


class Session:
    def __init__(self, phone, reader, writer):
        self.phone = phone
        self.reader = reader
        self.writer = writer
        self.version = None          # agreed protocol version, once CNXN is answered
        self.max_payload = wire.MAX_PAYLOAD
        self.streams = {}
        self.next_local_id = 1
        self.tasks = set()

    # -- plumbing ---------------------------------------------------------

    @property
    def checksummed(self):
        # Until the versions are agreed, checksums are always correct to send.
        return self.version is None or self.version < wire.VERSION_SKIP_CHECKSUM

    def send(self, command, arg0, arg1, payload=b""):
        message = wire.Message(command, arg0, arg1, payload)
        if not self.writer.is_closing():
            self.writer.write(wire.encode(message, self.checksummed))

    def close(self):
        self.writer.close()

    async def run(self):
        try:
            while True:
                verify = self.version is not None and self.checksummed
                message = await wire.read_message(self.reader, verify)
                if message is None:
                    break
                self.handle(message)
                await self.writer.drain()
        except wire.ProtocolError as error:
            self.phone.say("dropping connection: %s" % error)
        except (ConnectionError, OSError):
            pass
        finally:
            for task in list(self.tasks):
                task.cancel()
            self.writer.close()

    def spawn(self, coroutine):
        task = asyncio.get_running_loop().create_task(coroutine)
        self.tasks.add(task)
        task.add_done_callback(self.tasks.discard)

    # -- messages ---------------------------------------------------------

    def handle(self, message):
        mode = self.phone.mode
        if mode == "offline":
            return
        if message.command == wire.A_CNXN:
            self.on_connect(message)
        elif message.command == wire.A_AUTH:
            self.on_auth(message)
        elif mode != "device" or self.version is None:
            return
        elif message.command == wire.A_OPEN:
            self.on_open(message)
        elif message.command == wire.A_OKAY:
            stream = self.streams.get(message.arg1)
            if stream is not None:
                stream.remote_id = message.arg0
                stream.okay.set()
        elif message.command == wire.A_WRTE:
            # Input to a service (e.g. shell stdin) is acknowledged and dropped.
            if message.arg1 in self.streams:
                self.send(wire.A_OKAY, message.arg1, message.arg0)
        elif message.command == wire.A_CLSE:
            stream = self.streams.pop(message.arg1, None)
            if stream is not None:
                stream.closed = True
                stream.okay.set()

    def on_connect(self, message):
        if self.phone.mode == "unauthorized":
            self.send_auth_token()
            return
        self.version = min(message.arg0, wire.VERSION_SKIP_CHECKSUM)
        self.version = max(self.version, wire.VERSION_MIN)
        self.max_payload = min(message.arg1 or wire.MAX_PAYLOAD, wire.MAX_PAYLOAD)
        self.send(wire.A_CNXN, self.version, wire.MAX_PAYLOAD, self.phone.banner())

    def on_auth(self, message):
        # Every signature is rejected with a fresh token; a public key is
        # left waiting for a user who never confirms it.
        if self.phone.mode == "unauthorized" and message.arg0 == wire.AUTH_SIGNATURE:
            self.send_auth_token()

    def send_auth_token(self):
        self.send(wire.A_AUTH, wire.AUTH_TOKEN, 0, os.urandom(wire.AUTH_TOKEN_SIZE))

    def on_open(self, message):
        service = message.payload.rstrip(b"\0").decode("utf-8", errors="replace")
        self.phone.log_request(service)
        remote_id = message.arg0
        if service.startswith("shell:"):
            stream = self.open_stream(remote_id)
            output = self.phone.shell.run(service[len("shell:"):])
            self.spawn(self.write_and_close(stream, output))
        elif service == "reboot:" or service.startswith("reboot:"):
            stream = self.open_stream(remote_id)
            self.close_stream(stream)
            self.phone.request_reboot(service[len("reboot:"):])
        else:
            self.send(wire.A_CLSE, 0, remote_id)

    # -- streams ----------------------------------------------------------

    def open_stream(self, remote_id):
        stream = Stream(self.next_local_id, remote_id)
        self.next_local_id += 1
        self.streams[stream.local_id] = stream
        self.send(wire.A_OKAY, stream.local_id, remote_id)
        return stream

    def close_stream(self, stream):
        if self.streams.pop(stream.local_id, None) is not None:
            self.send(wire.A_CLSE, stream.local_id, stream.remote_id)

    async def write_and_close(self, stream, data):
        chunk_size = max(1, self.max_payload)
        for start in range(0, len(data), chunk_size):
            if stream.closed:
                return
            stream.okay.clear()
            self.send(wire.A_WRTE, stream.local_id, stream.remote_id,
                      data[start:start + chunk_size])
            try:
                await asyncio.wait_for(stream.okay.wait(), OKAY_TIMEOUT)
            except asyncio.TimeoutError:
                self.phone.say("no OKAY for stream %d; closing it" % stream.local_id)
                break
        self.close_stream(stream)
        await self.writer.drain()
