#!/usr/bin/env python3
"""A host for VeskBarcode in Python: runs one whole job as Vesk-X would.

It claims the host's bus name (org.vesk.Signature.QRWz) on the session bus, exports the
org.vesk.HostEvents interface, starts "VeskBarcode FOLDER", prints one line "event CLASS ID" per
event, answers 'ok01' with 'eras' (permission to erase the scanner) and a failed end ('err1',
'err2', 'err3', 'abrt') with 'quit', and exits when 'qend' arrives. Exit status: 0 the job ended
with 'ok02', 1 'err1', 2 'err2', 3 'err3', 4 'abrt', 5 'qend' without an outcome, 6 time-out,
7 VeskBarcode exited without 'qend', 8 no session bus or another host runs, 64 wrong arguments.

Needs python3-gi (Debian package); docs/host-events.md describes the exchange.

    python3 python-host.py [--program PATH] [--timeout SECONDS] FOLDER
"""
import argparse
import subprocess
import sys

from gi.repository import Gio, GLib

HOST_NAME = "org.vesk.Signature.QRWz"
PROGRAM_NAME = "org.vesk.Signature.VBcd"
OBJECT_PATH = "/org/vesk/HostEvents"
INTERFACE = "org.vesk.HostEvents"
# The part of the interface a host serves (the whole file: share/dbus-1/interfaces/).
INTROSPECTION = """
<node>
  <interface name="org.vesk.HostEvents">
    <method name="Event">
      <arg name="target" type="s" direction="in"/>
      <arg name="eventClass" type="s" direction="in"/>
      <arg name="eventID" type="s" direction="in"/>
      <arg name="parameters" type="a{sv}" direction="in"/>
      <arg name="reply" type="a{sv}" direction="out"/>
    </method>
  </interface>
</node>
"""
OUTCOMES = {"ok02": 0, "err1": 1, "err2": 2, "err3": 3, "abrt": 4}
NO_OUTCOME, TIMED_OUT, ENDED_WITHOUT_QEND, NO_BUS = 5, 6, 7, 8
DBUS_NAME_FLAG_DO_NOT_QUEUE = 4
DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER = 1


class Host:
    def __init__(self, bus, loop):
        self.bus = bus
        self.loop = loop
        self.outcome = NO_OUTCOME
        self.status = None
        self.program = None

    def claim_name(self):
        reply = self.bus.call_sync(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            GLib.Variant("(su)", (HOST_NAME, DBUS_NAME_FLAG_DO_NOT_QUEUE)), GLib.VariantType("(u)"),
            Gio.DBusCallFlags.NONE, -1, None)
        return reply.unpack()[0] == DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER

    def export(self):
        info = Gio.DBusNodeInfo.new_for_xml(INTROSPECTION).interfaces[0]
        self.bus.register_object(OBJECT_PATH, info, self.on_call, None, None)

    def on_call(self, connection, sender, path, interface, method, parameters, invocation):
        _target, event_class, event_id, _parameters = parameters.unpack()
        # Answer at once: VeskBarcode never waits for the host.
        invocation.return_value(GLib.Variant("(a{sv})", ({},)))
        print("event", event_class, event_id, flush=True)
        self.outcome = OUTCOMES.get(event_id, self.outcome)
        if event_id == "ok01":
            self.send("eras")
        elif event_id in ("err1", "err2", "err3", "abrt"):
            self.send("quit")
        elif event_id == "qend":
            self.finish(self.outcome)

    def send(self, event_id):
        """Sends a host event ('eras', 'quit') to VeskBarcode without waiting for its answer."""
        self.bus.call(PROGRAM_NAME, OBJECT_PATH, INTERFACE, "Event",
                      GLib.Variant("(sssa{sv})", ("VBcd", "QRWz", event_id, {})), None,
                      Gio.DBusCallFlags.NO_AUTO_START, 60000, None, self.on_sent, event_id)

    def on_sent(self, connection, result, event_id):
        try:
            connection.call_finish(result)
        except GLib.Error as error:
            print(f"python-host: VeskBarcode refused {event_id}: {error.message}", file=sys.stderr)

    def start(self, program, folder):
        self.program = subprocess.Popen([program, folder])
        GLib.child_watch_add(GLib.PRIORITY_DEFAULT, self.program.pid, self.on_program_exit)

    def on_program_exit(self, _pid, _status):
        # A 'qend' sent just before the exit may still be on its way.
        GLib.timeout_add(1500, lambda: self.finish(ENDED_WITHOUT_QEND) and False)

    def on_timeout(self):
        print("python-host: no 'qend' in time; ending VeskBarcode", file=sys.stderr)
        if self.program and self.program.poll() is None:
            self.program.terminate()
        self.finish(TIMED_OUT)
        return False

    def finish(self, status):
        if self.status is None:
            self.status = status
            self.loop.quit()
        return False


def main():
    parser = argparse.ArgumentParser(description="Runs one VeskBarcode job as its host would.")
    parser.add_argument("folder", help="the working folder of the job")
    parser.add_argument("--program", default="VeskBarcode", help="the VeskBarcode program to start")
    parser.add_argument("--timeout", type=int, default=0, help="seconds until the job is ended (0: none)")
    try:
        arguments = parser.parse_args()
    except SystemExit as exit:
        return 0 if exit.code == 0 else 64
    try:
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    except GLib.Error as error:
        print(f"python-host: no session bus: {error.message}", file=sys.stderr)
        return NO_BUS
    loop = GLib.MainLoop()
    host = Host(bus, loop)
    if not host.claim_name():
        print(f"python-host: {HOST_NAME} is taken: another host runs", file=sys.stderr)
        return NO_BUS
    host.export()
    host.start(arguments.program, arguments.folder)
    if arguments.timeout > 0:
        GLib.timeout_add_seconds(arguments.timeout, host.on_timeout)
    loop.run()
    if host.program.poll() is None:
        try:
            host.program.wait(10)
        except subprocess.TimeoutExpired:
            host.program.kill()
            host.program.wait()
    return host.status


if __name__ == "__main__":
    sys.exit(main())
