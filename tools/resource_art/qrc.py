"""Writes resources/resources.qrc from what lies in resources/icons, resources/seed and
resources/promotion.

Only the ":/icons", ":/seed" and ":/promotion" blocks are ours; any other block someone added by hand is kept.
"""

import os
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape, quoteattr

OWNED = {"icons": "/icons", "seed": "/seed", "promotion": "/promotion"}


def _files(root, folder):
    out = []
    base = os.path.join(root, folder)
    for dirpath, dirnames, filenames in os.walk(base):
        dirnames.sort()
        for name in sorted(filenames):
            if name.startswith("."):
                continue
            full = os.path.join(dirpath, name)
            out.append(os.path.relpath(full, base).replace(os.sep, "/"))
    return out


def write(resources_dir):
    path = os.path.join(resources_dir, "resources.qrc")
    kept = []
    if os.path.exists(path):
        for block in ET.parse(path).getroot().findall("qresource"):
            if block.get("prefix") in OWNED.values() or len(block) == 0:
                continue
            kept.append(ET.tostring(block, encoding="unicode").strip())
    lines = ["<!DOCTYPE RCC>", '<RCC version="1.0">']
    for folder, prefix in OWNED.items():
        lines.append(f"<qresource prefix={quoteattr(prefix)}>")
        for rel in _files(resources_dir, folder):
            lines.append(f"    <file alias={quoteattr(rel)}>{escape(folder + '/' + rel)}</file>")
        lines.append("</qresource>")
    lines.extend(kept)
    lines.append("</RCC>")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    return path
