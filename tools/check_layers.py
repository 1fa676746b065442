#!/usr/bin/env python3
"""Fails when a source includes a header of a folder above its own.

The folders and their order come from tools/layers.txt (bottom first): a
folder's sources may include headers of their own folder and of the folders
listed before it. An include names its folder by its first component
("core/uri.h"); headers of the platform's own include directory ("win/...",
"mfc/...", "oldio/...") are the platform's. Tests, benchmarks and tools are
not layers and may include anything.

Usage: check_layers.py [source root]   (the root holding tools/layers.txt)
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_SUFFIXES = ('.h', '.hpp', '.c', '.cc', '.cpp')


def read_layers(root):
    layers = []
    with open(os.path.join(root, 'tools', 'layers.txt'), encoding='utf-8') as f:
        for line in f:
            line = line.split('#', 1)[0].strip()
            if line:
                layers.append(line)
    return layers


def platform_include_names(root):
    """The first components that stand for the platform's public headers."""
    include = os.path.join(root, 'platform', 'include')
    if not os.path.isdir(include):
        return set()
    return {name for name in os.listdir(include) if os.path.isdir(os.path.join(include, name))}


def wrong_way_includes(root):
    layers = read_layers(root)
    rank = {name: i for i, name in enumerate(layers)}
    platform_names = platform_include_names(root)
    faults = []
    for layer in layers:
        top = os.path.join(root, layer)
        for folder, dirs, files in os.walk(top):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding='utf-8', errors='replace') as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        first = m.group(1).split('/', 1)[0]
                        if '/' not in m.group(1) or first in platform_names:
                            continue
                        # A folder of the source's own layer that happens to
                        # share a layer's name is the source's own.
                        if os.path.exists(os.path.join(folder, m.group(1))):
                            continue
                        if first in rank and rank[first] > rank[layer]:
                            faults.append('%s:%d: %s includes "%s" of the %s layer above it' %
                                          (os.path.relpath(path, root), number, layer, m.group(1), first))
    return faults


def main(argv):
    root = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), '..'))
    faults = wrong_way_includes(root)
    for fault in faults:
        print(fault)
    if faults:
        print('%d include(s) against the layers of tools/layers.txt' % len(faults))
        return 1
    print('layers: every include points down or sideways')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
