#!/usr/bin/env python3
"""Talks to the virtual mouse of a running HXT_GMouse.exe --virtual-mouse=PORT.

    tools/vmouse.py PORT press 6        one command: the words after the port
    tools/vmouse.py PORT - < script     one command per line of standard input

Commands: press N, release N, report HH.., features, clear, state, unplug, plug.
Prints the answer lines. Exit status: 0 when every answer ended in OK, 1 when one ended in
ERR, 2 when the program could not be reached (--wait SECONDS keeps trying that long).
"""
import argparse
import os
import socket
import sys
import time


def connect(port, wait):
    deadline = time.monotonic() + wait
    while True:
        try:
            return socket.create_connection(("127.0.0.1", port), timeout=10)
        except OSError:
            if time.monotonic() >= deadline:
                raise
            time.sleep(0.2)


def answer(stream):
    """The answer lines up to the final OK or ERR line."""
    lines = []
    while True:
        raw = stream.readline()
        if not raw:
            raise ConnectionError("the program closed the connection")
        line = raw.decode("ascii", "replace").rstrip("\r\n")
        lines.append(line)
        if line == "OK" or line.startswith("ERR"):
            return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--wait", type=float, default=0, help="seconds to keep trying to connect")
    parser.add_argument("port", type=int)
    parser.add_argument("command", nargs="+", help="the command's words, or - for standard input")
    args = parser.parse_args()
    if not 1 <= args.port <= 65535:
        parser.error("the port is 1 to 65535")
    commands = sys.stdin.read().splitlines() if args.command == ["-"] else [" ".join(args.command)]
    commands = [c for c in commands if c.strip()]
    try:
        sock = connect(args.port, args.wait)
    except OSError as error:
        print(f"cannot reach 127.0.0.1:{args.port}: {error}", file=sys.stderr)
        return 2
    status = 0
    with sock, sock.makefile("rb") as stream:
        for command in commands:
            try:
                sock.sendall(command.encode("ascii", "replace") + b"\n")
                lines = answer(stream)
            except (OSError, ConnectionError) as error:
                print(f"no answer to '{command}': {error}", file=sys.stderr)
                return 2
            try:
                print("\n".join(lines), flush=True)
            except BrokenPipeError:
                # The reader stopped early (grep -q found its line): the command still ran and
                # its status still counts; further output goes nowhere.
                os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
            if lines[-1] != "OK":
                status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
