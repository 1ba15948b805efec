#!/usr/bin/python3
# Installs Quorrel into a temporary prefix and checks that the installed program finds its help document and its games folder.
"""Usage: check_install.py --cmake CMAKE --build-dir DIR --source-dir DIR --version X.Y.Z
                         --built-program PATH [--config CONFIG]

1. The build tree: the help document lies next to the built program, as the same bytes as doc/Quorr.html.
2. `cmake --install` into a temporary prefix. bin/quorrel must resolve to an executable whose folder
   also holds Quorr.html (the program opens <its folder>/Quorr.html), the desktop entry and the icon
   must be in share/, and `bin/quorrel --version` must print the project version.
3. The installed program, started through bin/quorrel (offscreen, speech to a log, a private HOME),
   must speak its three welcome lines and create its Games folder in the folder that holds the
   executable and Quorr.html. That folder is the one it takes as its own, so it is also where it
   opens the help.
4. With that folder read-only (run as an ordinary user: as root, through setpriv as nobody), the
   program must still start and keep its games in $XDG_DATA_HOME/Quorrel/Games instead, both when
   the folder holds no Games folder and when it holds a read-only one.
"""

import argparse
import filecmp
import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import texts_h  # noqa: E402

NOBODY = 65534
START_DEADLINE = 60  # seconds for a loaded machine; the program normally speaks within one


class Failed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failed(message)


def install(args, prefix):
    command = [args.cmake, "--install", args.build_dir, "--prefix", prefix]
    if args.config:
        command += ["--config", args.config]
    result = subprocess.run(command, capture_output=True, text=True)
    expect(result.returncode == 0, f"{' '.join(command)} failed:\n{result.stdout}{result.stderr}")


def check_layout(args, prefix):
    """Returns the folder of the installed executable."""
    link = os.path.join(prefix, "bin", "quorrel")
    expect(os.path.lexists(link), "bin/quorrel was not installed")
    program = os.path.realpath(link)
    expect(os.path.isfile(program) and os.access(program, os.X_OK), f"bin/quorrel leads to {program}, no executable")
    expect(program.startswith(os.path.realpath(prefix) + os.sep), f"bin/quorrel leads out of the prefix: {program}")
    if os.path.islink(link):
        expect(not os.path.isabs(os.readlink(link)), f"bin/quorrel is an absolute link: {os.readlink(link)}")
    folder = os.path.dirname(program)
    help_file = os.path.join(folder, "Quorr.html")
    expect(os.path.isfile(help_file), f"no Quorr.html beside the installed program in {folder}")
    expect(filecmp.cmp(help_file, os.path.join(args.source_dir, "doc", "Quorr.html"), shallow=False),
           "the installed Quorr.html differs from doc/Quorr.html")
    for name in ("share/applications/quorrel.desktop", "share/icons/hicolor/scalable/apps/quorrel.svg"):
        expect(os.path.isfile(os.path.join(prefix, name)), f"{name} was not installed")
    result = subprocess.run([link, "--version"], capture_output=True, text=True, timeout=60)
    expect(result.returncode == 0 and result.stdout.strip() == f"quorrel {args.version}",
           f"bin/quorrel --version printed {result.stdout!r} (status {result.returncode}), "
           f"expected 'quorrel {args.version}'")
    return folder


def private_home(root, owner=None):
    home = os.path.join(root, "home")
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "SPEECHD_ADDRESS", "SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS"):
        env.pop(name, None)
    env.update({
        "HOME": home,
        "XDG_CONFIG_HOME": os.path.join(home, ".config"),
        "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
        "XDG_CACHE_HOME": os.path.join(home, ".cache"),
        "XDG_RUNTIME_DIR": os.path.join(home, "runtime"),
        "QT_QPA_PLATFORM": "offscreen",
    })
    for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"):
        os.makedirs(env[name], mode=0o700, exist_ok=True)
    if owner is not None:
        for folder, _, _ in os.walk(home):
            os.chown(folder, owner, owner)
    return home, env


def speak_welcome(command, env, log, welcome):
    """Starts the program, waits for its welcome in the speech log, stops it; returns the log's lines."""
    process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, start_new_session=True)
    lines = []
    try:
        deadline = time.monotonic() + START_DEADLINE
        while time.monotonic() < deadline:
            if os.path.exists(log):
                with open(log, encoding="utf-8", errors="replace") as source:
                    lines = source.read().splitlines()
                if [line for line in lines if line.startswith("Speak: ")][:len(welcome)] == welcome:
                    return lines
            if process.poll() is not None:
                break
            time.sleep(0.1)
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGTERM)
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        output = process.stdout.read().decode(errors="replace")
        process.stdout.close()
    raise Failed(f"{' '.join(command)} did not speak its welcome (status {process.returncode}).\n"
                 f"Speech log:\n" + "\n".join(lines) + f"\nOutput:\n{output}")


def check_built_program(args):
    built_help = os.path.join(os.path.dirname(args.built_program), "Quorr.html")
    expect(os.path.isfile(built_help), f"no Quorr.html next to the built program: {built_help}")
    expect(filecmp.cmp(built_help, os.path.join(args.source_dir, "doc", "Quorr.html"), shallow=False),
           f"{built_help} differs from doc/Quorr.html; rebuild")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--built-program", required=True)
    parser.add_argument("--config", default="")
    args = parser.parse_args()

    texts = texts_h.read(os.path.join(args.source_dir, "src", "texts", "Texts.h"))
    welcome = ["Speak: " + texts[name] for name in ("WelcomeNewGame", "WelcomeHelp", "WelcomeKeys")]
    games = texts["GamesFolderName"]

    check_built_program(args)
    print("the built program has its help beside it")

    with tempfile.TemporaryDirectory(prefix="quorrel-install-") as root:
        os.chmod(root, 0o755)
        prefix = os.path.join(root, "prefix")
        install(args, prefix)
        folder = check_layout(args, prefix)
        print(f"installed into {prefix}; the program and its help are in {os.path.relpath(folder, prefix)}")

        # A writable program folder: the games are kept beside the program.
        work = os.path.join(root, "writable")
        home, env = private_home(work)
        log = os.path.join(home, "speech.log")
        speak_welcome([os.path.join(prefix, "bin", "quorrel"), f"--speech=log:{log}"], env, log, welcome)
        expect(os.path.isdir(os.path.join(folder, games)),
               f"the program made no {games} folder beside itself in {folder}; it took another folder as its own")
        expect(not os.path.exists(os.path.join(prefix, "bin", games)),
               f"the program took bin/ as its folder, where its help is not")
        print("the installed program spoke its welcome and took the folder of its help as its own")

        # A read-only program folder, as in a package: the games go to the player's data folder.
        shutil.rmtree(os.path.join(folder, games))
        os.chmod(folder, 0o555)
        command = [os.path.join(prefix, "bin", "quorrel")]
        owner = None
        if os.geteuid() == 0:
            setpriv = shutil.which("setpriv")
            if not setpriv:
                print("running as root without setpriv (package util-linux): the read-only case is left out")
                return 0
            owner = NOBODY
            command = [setpriv, f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", "--"] + command
            if subprocess.run(command[:-1] + ["test", "-x", command[-1]]).returncode != 0:
                print(f"nobody cannot reach {root} (is TMPDIR private?): the read-only case is left out")
                os.chmod(folder, 0o755)
                return 0
        # Without a Games folder, and with a read-only one shipped in the read-only folder.
        for case, shipped in (("read-only", False), ("read-only-with-games", True)):
            shipped_games = os.path.join(folder, games)
            if shipped:
                os.chmod(folder, 0o755)
                os.mkdir(shipped_games, 0o555)
                os.chmod(shipped_games, 0o555)
                os.chmod(folder, 0o555)
            work = os.path.join(root, case)
            os.makedirs(work)
            home, env = private_home(work, owner)
            log = os.path.join(home, "speech.log")
            try:
                speak_welcome(command + [f"--speech=log:{log}"], env, log, welcome)
            finally:
                os.chmod(folder, 0o755)
            if shipped:
                expect(os.listdir(shipped_games) == [], "the program wrote into the read-only Games folder")
                os.chmod(shipped_games, 0o755)
                os.rmdir(shipped_games)
            else:
                expect(not os.path.exists(shipped_games), "a Games folder appeared in the read-only folder")
            user_games = os.path.join(env["XDG_DATA_HOME"], "Quorrel", games)
            expect(os.path.isdir(user_games), f"with a {case} program folder, no {user_games}")
            print(f"with a {case} program folder the games went to XDG_DATA_HOME/Quorrel/Games")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failed as failure:
        print(f"FAILED: {failure}")
        sys.exit(1)
