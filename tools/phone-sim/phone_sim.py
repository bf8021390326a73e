#!/usr/bin/env python3
"""Simulated rooted Android phone that an adb server sees as an emulator.

It listens on 127.0.0.1:PORT, speaks adb's transport protocol and offers
`shell:` (echo/cat on property files kept under --prop-dir) and `reboot:`.
The adb server lists it as emulator-(PORT-1).
"""

import argparse
import asyncio
import os
import shutil
import signal
import sys
import tempfile

from phone import Phone


def default_server_port():
    value = os.environ.get("ANDROID_ADB_SERVER_PORT", "")
    return int(value) if value.isdigit() else 5037


def parse_args(argv):
    parser = argparse.ArgumentParser(
        description="Simulated rooted Android phone for adb (seen as emulator-(PORT-1)).")
    parser.add_argument("--port", type=int, default=5555,
                        help="adb transport port to listen on (default 5555; odd ports "
                             "5555..5585 are also found by the server's start-up scan)")
    parser.add_argument("--server-port", type=int, default=default_server_port(),
                        help="adb server port to announce to (default $ANDROID_ADB_SERVER_PORT "
                             "or 5037)")
    parser.add_argument("--prop-dir", metavar="DIR",
                        help="host directory that stands for the phone's file system; "
                             "/data/property/X is DIR/data/property/X (default: a temporary "
                             "directory removed on exit)")
    mode = parser.add_mutually_exclusive_group()
    mode.add_argument("--offline", action="store_const", dest="mode", const="offline",
                      help="accept connections but never answer CNXN (listed as offline)")
    mode.add_argument("--unauthorized", action="store_const", dest="mode", const="unauthorized",
                      help="answer with AUTH and reject every key (listed as unauthorized)")
    parser.set_defaults(mode="device")
    parser.add_argument("--not-rooted", action="store_true",
                        help="writes with `echo ... > FILE` fail with Permission denied")
    parser.add_argument("--reboot-seconds", type=float, default=3.0,
                        help="how long the phone stays away after reboot (default 3)")
    parser.add_argument("--log", metavar="FILE",
                        help="append one line per service request to FILE")
    parser.add_argument("--ready-file", metavar="FILE",
                        help="write FILE (port, serial, prop dir) once listening")
    parser.add_argument("--product-name", default="phonesim", help="ro.product.name")
    parser.add_argument("--model", default="PhoneSim", help="ro.product.model")
    parser.add_argument("--device", default="phonesim", help="ro.product.device")
    args = parser.parse_args(argv)
    for name in ("port", "server_port"):
        if not 0 < getattr(args, name) < 65536:
            parser.error("--%s must be a TCP port number" % name.replace("_", "-"))
    if args.reboot_seconds < 0:
        parser.error("--reboot-seconds must not be negative")
    return args


async def serve(args, prop_dir):
    phone = Phone(
        port=args.port, server_port=args.server_port, prop_dir=prop_dir, mode=args.mode,
        rooted=not args.not_rooted,
        product=(args.product_name, args.model, args.device),
        reboot_seconds=args.reboot_seconds, log_path=args.log, ready_file=args.ready_file)
    stop = asyncio.Event()
    loop = asyncio.get_running_loop()
    for signum in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(signum, stop.set)
    try:
        await phone.start()
    except OSError as error:
        print("phone-sim: cannot listen on 127.0.0.1:%d: %s" % (args.port, error.strerror),
              file=sys.stderr)
        return 1
    await stop.wait()
    phone.say("stopping")
    await phone.stop()
    return 0


def main(argv=None):
    args = parse_args(argv)
    own_prop_dir = args.prop_dir is None
    prop_dir = tempfile.mkdtemp(prefix="phone-sim-") if own_prop_dir else args.prop_dir
    os.makedirs(prop_dir, exist_ok=True)
    try:
        return asyncio.run(serve(args, os.path.abspath(prop_dir)))
    finally:
        if own_prop_dir:
            shutil.rmtree(prop_dir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
