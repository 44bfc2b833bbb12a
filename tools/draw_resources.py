#!/usr/bin/python3
"""Draws every picture and stock text Festiloom ships, and the resource list that embeds them.

    /usr/bin/python3 tools/draw_resources.py

Writes, under resources/:
  seed/   copied into the user's resource folder at first start: Background/, Fill_Style_Image/,
          LibraryImage/<Category>/, Title.txt, Message.txt, no.png, barcode_sample.png, pattern_1.jpg
  icons/  the application icon and the tool-bar icons
  promotion/  the pictures of the maker's other products (promotion window)
  resources.qrc  the three trees above under ":/seed", ":/icons" and ":/promotion"

Safe to run again: the folders it owns are emptied and drawn anew, and the output is the same on
every run (each picture has its own fixed random seed). Anything else under seed/ (templates, for
one) is left alone and still listed in resources.qrc.

Needs Debian's python3-cairo, python3-pil and python3-numpy, and the fonts fonts-dejavu-core,
fonts-lobster, fonts-dancingscript and fonts-quicksand (drawing time only; the build does not).
"""

import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
RESOURCES = os.path.join(ROOT, "resources")
SEED = os.path.join(RESOURCES, "seed")
ICONS = os.path.join(RESOURCES, "icons")
PROMOTION = os.path.join(RESOURCES, "promotion")

FONTS = ["DejaVu Sans", "DejaVu Sans Mono", "Lobster Two", "Dancing Script", "Quicksand"]
DEBIAN_PACKAGES = "python3-cairo python3-pil python3-numpy fonts-dejavu-core fonts-lobster fonts-dancingscript " \
                  "fonts-quicksand"


def _check_tools():
    try:
        import cairo  # noqa: F401
        import numpy  # noqa: F401
        import PIL  # noqa: F401
    except ImportError as err:
        sys.exit(f"draw_resources: {err}; install with: apt-get install {DEBIAN_PACKAGES}")
    known = subprocess.run(["fc-list", ":", "family"], capture_output=True, text=True).stdout
    missing = [f for f in FONTS if f not in known]
    if missing:
        # Cairo would silently fall back to another face and the pictures would change.
        sys.exit(f"draw_resources: fonts missing: {', '.join(missing)}; install with: apt-get install {DEBIAN_PACKAGES}")


def _fresh(path):
    if os.path.isdir(path):
        shutil.rmtree(path)
    os.makedirs(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", choices=["texts", "patterns", "backgrounds", "library", "singles", "icons", "products", "qrc"],
                        action="append", help="draw only these groups (the resource list is always rewritten)")
    args = parser.parse_args()
    _check_tools()
    sys.path.insert(0, HERE)
    from resource_art import backgrounds, icons, library, misc, patterns, products, qrc, texts

    groups = set(args.only or ["texts", "patterns", "backgrounds", "library", "singles", "icons", "products"])
    if "texts" in groups:
        texts.write_all(SEED)
    if "patterns" in groups:
        _fresh(os.path.join(SEED, "Fill_Style_Image"))
        patterns.draw_all(os.path.join(SEED, "Fill_Style_Image"))
    if "backgrounds" in groups:
        _fresh(os.path.join(SEED, "Background"))
        backgrounds.draw_all(os.path.join(SEED, "Background"))
    if "library" in groups:
        _fresh(os.path.join(SEED, "LibraryImage"))
        library.draw_all(os.path.join(SEED, "LibraryImage"))
    if "singles" in groups:
        misc.draw_placeholder(os.path.join(SEED, "no.png"))
        misc.draw_barcode_sample(os.path.join(SEED, "barcode_sample.png"))
        misc.draw_promotion_pattern(os.path.join(SEED, "pattern_1.jpg"))
    if "icons" in groups:
        _fresh(ICONS)
        icons.draw_all(ICONS)
    if "products" in groups:
        _fresh(PROMOTION)
        products.draw_all(PROMOTION)
    print(qrc.write(RESOURCES))


if __name__ == "__main__":
    main()
