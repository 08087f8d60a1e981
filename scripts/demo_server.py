#!/usr/bin/env python3
"""A demo FTP server for trying Pellix FTP: pyftpdlib on 127.0.0.1 with a
small sample tree, anonymous read access and the user demo/demo. Runs until
it is sent SIGTERM."""

import argparse
import os
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

SAMPLE = {
    "README.txt": "Welcome to the Pellix FTP demo server.\nDrag files in and out to try it.\n",
    "pub/notes.txt": "Plain text notes.\n",
    "pub/data.csv": "name,size\nalpha,1\nbeta,2\n",
    "pub/archive/old-report.txt": "An old report.\n" * 50,
    "docs/manual.html": "<html><body><h1>Manual</h1></body></html>\n",
    "docs/guide with spaces.txt": "File names may hold spaces.\n",
    "images/logo.svg": "<svg xmlns='http://www.w3.org/2000/svg' width='32' height='32'>"
                       "<circle cx='16' cy='16' r='14' fill='#2860c8'/></svg>\n",
    "upload/.keep": "",
}


def make_sample(root):
    for relative, text in SAMPLE.items():
        path = os.path.join(root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if not os.path.exists(path):
            with open(path, "w") as f:
                f.write(text)
    big = os.path.join(root, "pub", "random-4MiB.bin")
    if not os.path.exists(big):
        with open(big, "wb") as f:
            f.write(os.urandom(4 << 20))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port", type=int, default=2121)
    args = parser.parse_args()
    make_sample(args.root)
    authorizer = DummyAuthorizer()
    authorizer.add_user("demo", "demo", args.root, perm="elradfmwMT")
    authorizer.add_anonymous(args.root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.banner = "Pellix FTP demo server ready."
    server = FTPServer(("127.0.0.1", args.port), handler)
    signal.signal(signal.SIGTERM, lambda *_: server.close_all() or sys.exit(0))
    print(f"demo server on 127.0.0.1:{args.port} (user demo, password demo)", flush=True)
    server.serve_forever(timeout=0.5, handle_exit=True)


if __name__ == "__main__":
    main()
