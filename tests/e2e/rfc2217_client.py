"""A host application on another machine: pyserial's RFC 2217 client.

Usage: rfc2217_client.py URL
Opens URL (trying again while the server starts), says "open", then follows
one command a line from standard input and answers each with one line:
  read N      the next N bytes that arrive, as text
  write TEXT  sends TEXT; "written"
  baud N      changes the baud rate; "baud N" once the server took it
A step that fails answers "error: ..." instead.
"""
import sys
import time

import serial


def open_port(url):
    deadline = time.monotonic() + 5
    while True:
        try:
            return serial.serial_for_url(url, baudrate=9600, timeout=5)
        except serial.SerialException:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.05)


def main():
    try:
        port = open_port(sys.argv[1])
    except serial.SerialException as error:
        print("error:", error, flush=True)
        return 1
    print("open", flush=True)
    for line in sys.stdin:
        command, _, argument = line.rstrip("\n").partition(" ")
        try:
            if command == "read":
                print(port.read(int(argument)).decode("latin-1"))
            elif command == "write":
                port.write(argument.encode("latin-1"))
                port.flush()
                print("written")
            elif command == "baud":
                port.baudrate = int(argument)
                print("baud", port.baudrate)
            else:
                print("error: unknown command", command)
        except (serial.SerialException, ValueError) as error:
            print("error:", error)
        sys.stdout.flush()
    port.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
