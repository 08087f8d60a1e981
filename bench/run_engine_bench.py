#!/usr/bin/env python3
"""Engine benchmark: downloads and uploads through the engine's block
transfer operations and through curl, alternating, against one vsftpd on
127.0.0.1, then times the listing parser. Prints MB/s, ratios (medians) and
peak RSS, ending with one "name value" line per figure."""

import argparse
import os
import shutil
import statistics
import sys
import tempfile

import ftpbench
from ftpbench import PASSWORD, USER


def ours(engine, port, remote, local, upload, block):
    args = [engine, "--host", "127.0.0.1", "--port", str(port), "--user", USER, "--password",
            PASSWORD, "--remote", remote, "--local", local, "--block", str(block)]
    if upload:
        args.append("--upload")
    fields = ftpbench.run(args).split()
    moved, seconds, rss = int(fields[1]), float(fields[3]), int(fields[5])
    return moved / seconds / 1e6, rss / 1024.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--engine", required=True)
    parser.add_argument("--mib", type=int, default=1024)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--block", type=int, default=256 * 1024)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="pellix-bench-")
    os.chmod(work, 0o755)
    root = os.path.join(work, "root")
    local = os.path.join(work, "local")
    os.mkdir(root)
    os.mkdir(local)
    server = None
    try:
        ftpbench.make_file(os.path.join(root, "big.bin"), args.mib)
        ftpbench.make_file(os.path.join(root, "medium.bin"), min(100, args.mib))
        server = ftpbench.Vsftpd(work, root)
        results = {}
        peak = 0.0
        for name in ("medium.bin", "big.bin"):
            down, cdown, up, cup = [], [], [], []
            target = os.path.join(local, name)
            for _ in range(args.rounds):
                mbps, rss = ours(args.engine, server.port, name, target, False, args.block)
                down.append(mbps)
                peak = max(peak, rss)
                cdown.append(ftpbench.curl(server.port, name, target + ".curl", False))
                mbps, rss = ours(args.engine, server.port, "up-" + name, target, True, args.block)
                up.append(mbps)
                peak = max(peak, rss)
                cup.append(ftpbench.curl(server.port, "up-curl-" + name, target, True))
                os.remove(target + ".curl")
            results[name] = [statistics.median(v) for v in (down, cdown, up, cup)]
            d, cd, u, cu = results[name]
            print(f"{name}: download {d:.0f} MB/s (curl {cd:.0f}), "
                  f"upload {u:.0f} MB/s (curl {cu:.0f})")

        parse = ftpbench.run([args.engine, "--parse-lines", "1000000"]).split()[1]
        d, cd, u, cu = results["big.bin"]
        print(f"download_mbps {d:.0f}")
        print(f"curl_download_mbps {cd:.0f}")
        print(f"download_ratio {d / cd:.2f}")
        print(f"upload_mbps {u:.0f}")
        print(f"curl_upload_mbps {cu:.0f}")
        print(f"upload_ratio {u / cu:.2f}")
        print(f"peak_rss_mib {peak:.1f}")
        print(f"parse_lines_per_s {parse}")
    finally:
        if server:
            server.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
