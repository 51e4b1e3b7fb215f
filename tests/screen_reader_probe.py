"""The game as a screen reader meets it: the real program on an X server of
its own, read and worked only through AT-SPI, with a bare peer on the other
end of the connection. Prints what was announced, one line each.

    screen_reader_probe.py TORVANE

Run on a session bus of its own (dbus-run-session)."""

import os
import socket
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

NAME = "ar"
POINTS = ["左上", "上", "右上", "左", "中央", "右", "左下", "下", "右下"]


def cells_of(code):
    """Nine cell names from "RRR---OOO": rival stones, free points, own stones."""
    on_point = {"R": "相手の石", "-": "空き", "O": "あなたの石"}
    return [f"{point}\u3000{on_point[c]}" for point, c in zip(POINTS, code)]


def wait_for(what, seconds=20):
    """Turns the AT-SPI event loop until `what` gives a value."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = what()
        if found:
            return found
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.05)
    raise SystemExit(f"not within {seconds} s: {what.__doc__}")


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(root, role, name=None):
    for node in descendants(root):
        if node.get_role_name() == role and (name is None or node.get_name() == name):
            return node
    return None


def labelled(root, label):
    """The control whose label (its buddy) is `label`."""
    for node in descendants(root):
        for relation in node.get_relation_set() or []:
            if relation.get_relation_type() != Atspi.RelationType.LABELLED_BY:
                continue
            if any(relation.get_target(i).get_name() == label for i in range(relation.get_n_targets())):
                return node
    return None


def cells(board):
    return [board.get_child_at_index(i).get_name() for i in range(board.get_child_count())]


def game_app():
    """the game on the accessibility bus"""
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == "torvane":
            return app
    return None


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def connect(port):
    """the game listening"""
    try:
        return socket.create_connection(("127.0.0.1", port), timeout=10)
    except ConnectionRefusedError:
        return None


def open_as_server(app, port):
    """Fills the dialog and presses ＯＫ, as a blind player would."""
    dialog = wait_for(lambda: find(app, "push button", "ＯＫ") and app)
    for label, text in (("名前", NAME), ("ポート", str(port))):
        box = labelled(dialog, label)
        assert box is not None, f"no box labelled {label}"
        Atspi.EditableText.set_text_contents(box, text)
    for label in ("名前", "ホスト名", "ポート"):
        assert labelled(dialog, label) is not None, f"no box labelled {label}"
    find(dialog, "radio button", "サーバ").do_action(0)
    find(dialog, "push button", "ＯＫ").do_action(0)


def main(torvane):
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "800x600x24"],
                            stdout=subprocess.PIPE, text=True)
    display = ":" + xvfb.stdout.readline().strip()
    heard = []

    def on_showing(event):
        if event.detail1 and event.source.get_role_name() == "notification":
            heard.append(event.source.get_name())

    listener = Atspi.EventListener.new(on_showing)
    listener.register("object:state-changed:showing")
    with tempfile.TemporaryDirectory() as config:
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_HOME=config)
        game = subprocess.Popen([torvane], env=env)
        try:
            play(wait_for(game_app), heard)
        finally:
            game.terminate()
            game.wait(10)
            xvfb.terminate()
            xvfb.wait(10)
    print("\n".join(heard))


def play(app, heard):
    """Opens a game, lets a bare peer start one and move, and checks what is heard."""
    port = free_port()
    open_as_server(app, port)
    peer = wait_for(lambda: connect(port))
    board = wait_for(lambda: find(app, "table", "盤"))
    assert Atspi.Table.get_n_rows(board) == 3 and Atspi.Table.get_n_columns(board) == 3
    assert cells(board) == cells_of("RRR---OOO"), cells(board)
    # A greeting runs to the end of its read: the rest waits for the answer.
    # The move sent with the start waits for the start to end.
    peer.sendall(b"|Cnnct peer")
    answer = b""
    while b"|SName" not in answer:
        answer += peer.recv(100)
    peer.sendall(b"|StrtG |SetSt 036")
    wait_for(lambda: any("相手：右上から右へ" in text for text in heard))
    assert cells(board) == cells_of("RR---ROOO"), cells(board)
    own = find(app, "label", NAME)
    assert own.get_description() == "あなたの番です", own.get_description()


if __name__ == "__main__":
    main(sys.argv[1])
