#!/usr/bin/env python3
"""Draws the suite's desktop icons (this project's own artwork) as SVG into
data/icons/ and renders the PNG sizes with rsvg-convert (librsvg2-bin).
The results are committed; run this again only after changing a drawing."""
import os
import subprocess

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(TOP, "data", "icons")
SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def svg(body):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="0 0 256 256">\n' + body + '</svg>\n')


def keypad(x, y, w, h, cols, rows, lit):
    """A keypad body with a small LCD and a grid of keys, one of them lit."""
    out = [f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{w * 0.09:.1f}" '
           'fill="#34404e" stroke="#1d252e" stroke-width="4"/>\n']
    pad = w * 0.1
    lcd_h = h * 0.16
    out.append(f'<rect x="{x + pad:.1f}" y="{y + pad:.1f}" width="{w - 2 * pad:.1f}" '
               f'height="{lcd_h:.1f}" rx="4" fill="#9fd37a" stroke="#1d252e" stroke-width="2"/>\n')
    top = y + 2 * pad + lcd_h
    gap = w * 0.05
    kw = (w - 2 * pad - (cols - 1) * gap) / cols
    kh = (y + h - pad - top - (rows - 1) * gap) / rows
    for r in range(rows):
        for c in range(cols):
            colour = "#f28c28" if (c, r) == lit else "#e9edf2"
            out.append(f'<rect x="{x + pad + c * (kw + gap):.1f}" y="{top + r * (kh + gap):.1f}" '
                       f'width="{kw:.1f}" height="{kh:.1f}" rx="{kw * 0.18:.1f}" fill="{colour}"/>\n')
    return "".join(out)


def plindorax():
    pencil = ('<g transform="translate(178 170) rotate(40)">'
              '<rect x="-14" y="-76" width="28" height="104" rx="3" fill="#f2c230" '
              'stroke="#7a5a10" stroke-width="4"/>'
              '<rect x="-14" y="-76" width="28" height="18" fill="#e35d6a" stroke="#7a5a10" '
              'stroke-width="4"/>'
              '<path d="M-14 28 L0 60 L14 28 Z" fill="#f5dcb0" stroke="#7a5a10" stroke-width="4" '
              'stroke-linejoin="round"/>'
              '<path d="M-5 49 L0 60 L5 49 Z" fill="#2b2b2b"/></g>\n')
    return svg(keypad(20, 16, 168, 224, 3, 4, (1, 1)) + pencil)


def corvandelle():
    connector = ('<path d="M170 92 H236 L226 164 H180 Z" fill="#5b6b7c" stroke="#1d252e" '
                 'stroke-width="4" stroke-linejoin="round"/>\n')
    pins = "".join(f'<circle cx="{186 + i * 11}" cy="112" r="4" fill="#e9edf2"/>\n'
                   for i in range(5))
    pins += "".join(f'<circle cx="{191 + i * 11}" cy="138" r="4" fill="#e9edf2"/>\n'
                    for i in range(4))
    arrows = ('<path d="M120 196 H214 M198 182 L216 196 L198 210" fill="none" stroke="#2a9d8f" '
              'stroke-width="10" stroke-linecap="round" stroke-linejoin="round"/>\n'
              '<path d="M216 228 H122 M138 214 L120 228 L138 242" fill="none" stroke="#f28c28" '
              'stroke-width="10" stroke-linecap="round" stroke-linejoin="round"/>\n')
    return svg(keypad(14, 14, 136, 168, 3, 3, (2, 0)) + connector + pins + arrows)


def document(inner):
    page = ('<path d="M52 12 H164 L212 60 V244 H52 Z" fill="#fbfcfd" stroke="#5b6b7c" '
            'stroke-width="6" stroke-linejoin="round"/>\n'
            '<path d="M164 12 V60 H212" fill="#dfe4ea" stroke="#5b6b7c" stroke-width="6" '
            'stroke-linejoin="round"/>\n')
    return svg(page + inner)


def redefinition_document():
    return document(keypad(78, 84, 108, 136, 3, 3, (0, 2)))


def rom_document():
    chip = ['<rect x="86" y="100" width="92" height="112" rx="8" fill="#34404e"/>\n',
            '<rect x="100" y="116" width="64" height="18" rx="3" fill="#9fd37a"/>\n']
    for i in range(5):
        y = 108 + i * 22
        chip.append(f'<rect x="70" y="{y}" width="16" height="8" fill="#8a96a3"/>\n')
        chip.append(f'<rect x="178" y="{y}" width="16" height="8" fill="#8a96a3"/>\n')
    return document("".join(chip))


ICONS = {
    ("apps", "org.tessaron.Plindorax"): plindorax,
    ("apps", "org.tessaron.Corvandelle"): corvandelle,
    ("mimetypes", "application-x-tessaron-redefinition"): redefinition_document,
    ("mimetypes", "application-x-tessaron-rom"): rom_document,
}


def main():
    for (context, name), draw in ICONS.items():
        folder = os.path.join(OUT, "scalable", context)
        os.makedirs(folder, exist_ok=True)
        source = os.path.join(folder, name + ".svg")
        with open(source, "w", encoding="utf-8") as f:
            f.write(draw())
        for size in SIZES:
            folder = os.path.join(OUT, f"{size}x{size}", context)
            os.makedirs(folder, exist_ok=True)
            subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o",
                            os.path.join(folder, name + ".png"), source], check=True)


if __name__ == "__main__":
    main()
