"""A pyftpdlib server for the tests: one user with a password and a writable
root, anonymous read access, bound to 127.0.0.1 on a free port. The chosen
port is written to --port-file once the server listens."""

import argparse
import logging
import os
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--port-file", required=True)
    args = parser.parse_args()

    logging.basicConfig(level=logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    authorizer.add_anonymous(args.root, perm="elr")

    handler = FTPHandler
    handler.authorizer = authorizer
    handler.banner = "pyftpdlib test server ready."
    handler.permit_foreign_addresses = False
    handler.masquerade_address = None

    server = FTPServer(("127.0.0.1", 0), handler)
    server.max_cons = 64
    port = server.socket.getsockname()[1]
    temp = args.port_file + ".tmp"
    with open(temp, "w") as f:
        f.write(str(port))
    os.rename(temp, args.port_file)

    signal.signal(signal.SIGTERM, lambda *_: server.close_all() or sys.exit(0))
    server.serve_forever(timeout=0.5, handle_exit=True)


if __name__ == "__main__":
    main()
