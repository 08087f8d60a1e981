#!/usr/bin/env python3
"""Jobs benchmark: a large file and a tree of 2000 small files (1-64 KiB in
20 nested folders) uploaded and downloaded through the program's transfer
jobs, side by side with curl (the file) and lftp mirror (the tree) against
one vsftpd on 127.0.0.1, alternating, three rounds. Ends with one
"name value" line per figure."""

import argparse
import filecmp
import os
import shutil
import statistics
import sys
import tempfile
import time

import ftpbench
from ftpbench import PASSWORD, USER

TREE_FILES = 2000


def ours(jobs, port, mode, target, items, block):
    args = [jobs, "--host", "127.0.0.1", "--port", str(port), "--user", USER, "--password",
            PASSWORD, "--mode", mode, "--target", target, "--block", str(block)] + items
    fields = ftpbench.run(args).split()
    return int(fields[1]), float(fields[3]), int(fields[5]) / 1024.0


def lftp_mirror(port, remote, local, upload):
    command = f"mirror -R {local} {remote}" if upload else f"mirror {remote} {local}"
    start = time.monotonic()
    ftpbench.run(["lftp", "-u", f"{USER},{PASSWORD}", "-p", str(port), "-e",
                  f"set ftp:passive-mode on; {command}; quit", "127.0.0.1"])
    return TREE_FILES / (time.monotonic() - start)


def same_tree(a, b):
    compare = filecmp.dircmp(a, b)
    if compare.left_only or compare.right_only or compare.diff_files:
        return False
    return all(same_tree(os.path.join(a, d), os.path.join(b, d)) for d in compare.common_dirs)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--jobs", required=True)
    parser.add_argument("--mib", type=int, default=1024)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--block", type=int, default=256 * 1024)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="pellix-jobs-bench-")
    os.chmod(work, 0o755)
    root = os.path.join(work, "root")
    local = os.path.join(work, "local")
    os.makedirs(root)
    os.makedirs(local)
    server = None
    try:
        ftpbench.make_file(os.path.join(root, "big.bin"), args.mib)
        ftpbench.make_tree(os.path.join(root, "tree"), TREE_FILES)
        ftpbench.make_tree(os.path.join(local, "tree"), TREE_FILES)
        server = ftpbench.Vsftpd(work, root)
        peak = 0.0
        down, cdown, up, cup = [], [], [], []
        tdown, ldown, tup, lup = [], [], [], []
        for r in range(args.rounds):
            # The single file.
            got = os.path.join(local, f"got{r}")
            os.makedirs(got)
            moved, seconds, rss = ours(args.jobs, server.port, "download", got, ["/big.bin"],
                                       args.block)
            down.append(moved / seconds / 1e6)
            peak = max(peak, rss)
            cdown.append(ftpbench.curl(server.port, "big.bin", os.path.join(got, "curl.bin"), False))
            # Jobs upload into a folder that exists, as the program's target does.
            os.makedirs(os.path.join(root, f"up{r}"))
            ftpbench.hand_over(os.path.join(root, f"up{r}"))
            moved, seconds, rss = ours(args.jobs, server.port, "upload", f"/up{r}",
                                       [os.path.join(got, "big.bin")], args.block)
            up.append(moved / seconds / 1e6)
            peak = max(peak, rss)
            cup.append(ftpbench.curl(server.port, f"up-curl-{r}.bin", os.path.join(got, "big.bin"), True))
            shutil.rmtree(got)
            ftpbench.run(["rm", "-rf", os.path.join(root, f"up{r}"),
                          os.path.join(root, f"up-curl-{r}.bin")])

            # The tree.
            mine = os.path.join(local, f"mine{r}")
            theirs = os.path.join(local, f"theirs{r}")
            os.makedirs(mine)
            moved, seconds, rss = ours(args.jobs, server.port, "download", mine, ["/tree"],
                                       args.block)
            tdown.append(TREE_FILES / seconds)
            peak = max(peak, rss)
            if not same_tree(os.path.join(root, "tree"), os.path.join(mine, "tree")):
                raise SystemExit("the downloaded tree differs")
            ldown.append(lftp_mirror(server.port, "/tree", theirs, False))
            os.makedirs(os.path.join(root, f"mine{r}"))
            ftpbench.hand_over(os.path.join(root, f"mine{r}"))
            moved, seconds, rss = ours(args.jobs, server.port, "upload", f"/mine{r}",
                                       [os.path.join(local, "tree")], args.block)
            tup.append(TREE_FILES / seconds)
            peak = max(peak, rss)
            if not same_tree(os.path.join(local, "tree"), os.path.join(root, f"mine{r}", "tree")):
                raise SystemExit("the uploaded tree differs")
            lup.append(lftp_mirror(server.port, f"/theirs{r}", os.path.join(local, "tree"), True))
            shutil.rmtree(mine)
            shutil.rmtree(theirs)
            shutil.rmtree(os.path.join(root, f"mine{r}"))
            shutil.rmtree(os.path.join(root, f"theirs{r}"), ignore_errors=True)

        m = statistics.median
        print(f"file download {m(down):.0f} MB/s (curl {m(cdown):.0f}), "
              f"upload {m(up):.0f} MB/s (curl {m(cup):.0f})")
        print(f"tree download {m(tdown):.0f} files/s (lftp {m(ldown):.0f}), "
              f"upload {m(tup):.0f} files/s (lftp {m(lup):.0f})")
        print(f"job_download_ratio {m(down) / m(cdown):.2f}")
        print(f"job_upload_ratio {m(up) / m(cup):.2f}")
        print(f"tree_download_ratio {m(tdown) / m(ldown):.2f}")
        print(f"tree_upload_ratio {m(tup) / m(lup):.2f}")
        print(f"peak_rss_mib {peak:.1f}")
    finally:
        if server:
            server.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
