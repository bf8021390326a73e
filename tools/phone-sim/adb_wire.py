"""adb transport messages as they travel over the wire.

Every message is a 24-byte little-endian header followed by an optional
payload:

    command, arg0, arg1, data_length, data_check, magic

`data_check` is the sum of the payload bytes (adb's own "crc32"), and
`magic` is `command ^ 0xffffffff`.  From protocol version 0x01000001 on, the
sender puts 0 in `data_check` and the receiver does not look at it.
"""

import asyncio
import struct
from dataclasses import dataclass

A_SYNC = 0x434E5953
A_CNXN = 0x4E584E43
A_OPEN = 0x4E45504F
A_OKAY = 0x59414B4F
A_CLSE = 0x45534C43
A_WRTE = 0x45545257
A_AUTH = 0x48545541

COMMAND_NAMES = {
    A_SYNC: "SYNC", A_CNXN: "CNXN", A_OPEN: "OPEN", A_OKAY: "OKAY",
    A_CLSE: "CLSE", A_WRTE: "WRTE", A_AUTH: "AUTH",
}

# Protocol versions: the first one always checksums payloads, the second
# lets both sides skip the checksum.
VERSION_MIN = 0x01000000
VERSION_SKIP_CHECKSUM = 0x01000001

MAX_PAYLOAD = 1024 * 1024

# AUTH message types (arg0).
AUTH_TOKEN = 1
AUTH_SIGNATURE = 2
AUTH_RSAPUBLICKEY = 3
AUTH_TOKEN_SIZE = 20

HEADER = struct.Struct("<6I")


class ProtocolError(Exception):
    """The peer sent something that is not an adb message."""


@dataclass
class Message:
    command: int
    arg0: int
    arg1: int
    payload: bytes = b""

    @property
    def name(self):
        return COMMAND_NAMES.get(self.command, "0x%08x" % self.command)

    def __str__(self):
        return "%s(%d, %d, %d bytes)" % (self.name, self.arg0, self.arg1, len(self.payload))


def checksum(payload):
    return sum(payload) & 0xFFFFFFFF


def encode(message, with_checksum):
    check = checksum(message.payload) if with_checksum else 0
    header = HEADER.pack(message.command, message.arg0, message.arg1,
                         len(message.payload), check, message.command ^ 0xFFFFFFFF)
    return header + message.payload


async def read_message(reader, verify_checksum):
    """Read one message; returns None when the peer closed the connection."""
    try:
        header = await reader.readexactly(HEADER.size)
    except asyncio.IncompleteReadError:
        return None
    command, arg0, arg1, length, check, magic = HEADER.unpack(header)
    if magic != command ^ 0xFFFFFFFF:
        raise ProtocolError("bad magic 0x%08x for command 0x%08x" % (magic, command))
    if length > MAX_PAYLOAD:
        raise ProtocolError("payload of %d bytes is over the limit" % length)
    try:
        payload = await reader.readexactly(length)
    except asyncio.IncompleteReadError:
        return None
    if verify_checksum and check != checksum(payload):
        raise ProtocolError("checksum 0x%08x does not match payload" % check)
    return Message(command, arg0, arg1, payload)
