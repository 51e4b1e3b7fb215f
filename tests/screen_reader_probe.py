"""The game as a screen reader meets it: the real program on an X server of
its own, read and worked only through AT-SPI, with a bare peer on the other
end of the connection. Prints what was announced, one line each.

    dbus-run-session -- screen_reader_probe.py TORVANE"""

import os
import socket
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

POINTS = ["左上", "上", "右上", "左", "中央", "右", "左下", "下", "右下"]
ON_POINT = {"R": "相手の石", "-": "空き", "O": "あなたの石"}


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
    for child in (node.get_child_at_index(i) for i in range(node.get_child_count())):
        if child is not None:
            yield child
            yield from descendants(child)


def find(root, role, name):
    return next((n for n in descendants(root) if n.get_role_name() == role and n.get_name() == name), None)


def labelled(root, label):
    """The control whose label (its buddy) is `label`."""
    for node in descendants(root):
        for relation in node.get_relation_set() or []:
            targets = [relation.get_target(i).get_name() for i in range(relation.get_n_targets())]
            if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY and label in targets:
                return node
    raise AssertionError(f"no control labelled {label}")


def game_app():
    """the game on the accessibility bus"""
    desktop = Atspi.get_desktop(0)
    apps = (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
    return next((app for app in apps if app is not None and app.get_name() == "torvane"), None)


def connect(port):
    """the game listening"""
    try:
        return socket.create_connection(("127.0.0.1", port), timeout=10)
    except ConnectionRefusedError:
        return None


def cells(board, code=None):
    """The nine cells' names, or those `code` ("RRR---OOO") stands for."""
    if code:
        return [f"{point}\u3000{ON_POINT[c]}" for point, c in zip(POINTS, code)]
    return [board.get_child_at_index(i).get_name() for i in range(board.get_child_count())]


def play(app, heard):
    """Opens a game as a blind player would, lets a bare peer start one and
    move, and checks what a screen reader finds and hears."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    ok = wait_for(lambda: find(app, "push button", "ＯＫ"))
    labelled(app, "ホスト名")
    Atspi.EditableText.set_text_contents(labelled(app, "名前"), "ar")
    Atspi.EditableText.set_text_contents(labelled(app, "ポート"), str(port))
    find(app, "radio button", "サーバ").do_action(0)
    ok.do_action(0)
    peer = wait_for(lambda: connect(port))
    board = find(app, "table", "盤")
    assert Atspi.Table.get_n_rows(board) == 3 and Atspi.Table.get_n_columns(board) == 3
    assert cells(board) == cells(board, "RRR---OOO"), cells(board)
    # A greeting runs to the end of its read: the rest waits for the answer.
    # The move sent with the start waits for the start to end.
    peer.sendall(b"|Cnnct peer")
    answer = b""
    while b"|SName" not in answer:
        answer += peer.recv(100)
    peer.sendall(b"|StrtG |SetSt 036")
    wait_for(lambda: any("相手：右上から右へ" in text for text in heard))
    assert cells(board) == cells(board, "RR---ROOO"), cells(board)
    assert find(app, "label", "ar").get_description() == "あなたの番です"
    # Every part of the window is named; the stone pictures are not there.
    window = find(app, "frame", "Torvane\u3000Product by Torvane Developers")
    assert all(node.get_name() for node in descendants(window)), [n.get_role_name() for n in descendants(window)]


def main(torvane):
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-nolisten", "tcp"], stdout=subprocess.PIPE, text=True)
    display = ":" + xvfb.stdout.readline().strip()
    heard = []
    # A screen reader speaks a notification that shows.
    listener = Atspi.EventListener.new(
        lambda e: e.detail1 and e.source.get_role_name() == "notification" and heard.append(e.source.get_name()))
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
    print("\n".join(heard))


if __name__ == "__main__":
    main(sys.argv[1])
