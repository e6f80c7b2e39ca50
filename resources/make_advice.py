#!/usr/bin/env python3
"""Draws the one-point advice pages (six pictures of 400 x 330 pixels, one drawing tip
each) and the logo (169 x 71) with ImageMagick, and writes them as palette BMP files with
run-length compression (small, and drawn by GDI as they are). Our own artwork: run it
again after changing a page; the results are committed in artwork/."""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "artwork")
FONT = "DejaVu-Sans"
BOLD = "DejaVu-Sans-Bold"
W, H = 400, 330

INK = "#1f2a44"
ACCENT = "#2f6fb5"
PAPER = "#fbfaf4"
GRID = "#d9dde6"


def grid(step=10, top=56, bottom=300):
    """Faint cell grid, as the drawing sheet shows it."""
    cmds = ["-stroke", GRID, "-strokewidth", "1"]
    for x in range(20, W - 19, step):
        cmds += ["-draw", "line %d,%d %d,%d" % (x, top, x, bottom)]
    for y in range(top, bottom + 1, step):
        cmds += ["-draw", "line 20,%d %d,%d" % (y, W - 20, y)]
    return cmds


def text_width(text, font, size):
    out = subprocess.run(["convert", "-font", font, "-pointsize", size, "label:" + text, "-format", "%w", "info:"],
                         check=True, capture_output=True, text=True).stdout
    return int(out)


def page(number, title, lines, drawing):
    for line in lines:
        if text_width(line, FONT, "12.5") > W - 36:
            raise SystemExit("page %d: the line does not fit: %s" % (number, line))
    cmd = ["convert", "-size", "%dx%d" % (W, H), "xc:" + PAPER]
    cmd += ["-fill", ACCENT, "-stroke", "none", "-draw", "rectangle 0,0 %d,40" % W]
    cmd += ["-font", BOLD, "-pointsize", "17", "-fill", "white",
            "-annotate", "+14+27", "%d  %s" % (number, title)]
    cmd += drawing
    cmd += ["-font", FONT, "-pointsize", "12.5", "-fill", INK, "-stroke", "none"]
    y = 236
    for line in lines:
        cmd += ["-annotate", "+18+%d" % y, line]
        y += 19
    cmd += ["-fill", ACCENT, "-draw", "rectangle 0,%d %d,%d" % (H - 6, W, H)]
    cmd += ["-colors", "64", "-type", "Palette", "-compress", "RLE",
            "BMP3:" + os.path.join(OUT, "advice%d.bmp" % number)]
    subprocess.run(cmd, check=True)


def shapes_page():
    d = grid(top=50, bottom=215)
    d += ["-stroke", INK, "-strokewidth", "2", "-fill", "#ffd37a",
          "-draw", "rectangle 50,80 150,150",
          "-fill", "#9fd0a6", "-draw", "ellipse 230,115 50,35 0,360",
          "-fill", "none", "-draw", "line 150,115 180,115",
          "-fill", "#cfe0f5", "-draw", "rectangle 300,60 370,205"]
    d += ["-font", FONT, "-pointsize", "10", "-fill", INK, "-stroke", "none",
          "-annotate", "+304+75", "Add Shapes", "-annotate", "+304+90", "palette"]
    return d


def page_contents():
    return [
        ("Welcome to Draw mode",
         ["The sheet is now a canvas. The palette at the right adds",
          "shapes; text, format and position tools sit at the top,",
          "left and bottom. File > Exit Draw mode brings Excel back."],
         shapes_page()),
        ("Snap to the grid",
         ["A new drawing sheet has small, equal cells. With Snap to",
          "Grid on, corners land exactly on them. Set the cell size",
          "in Setting; it applies to the next drawing sheet."],
         grid(step=20, top=50, bottom=215) +
         ["-stroke", ACCENT, "-strokewidth", "2", "-fill", "#cfe0f5",
          "-draw", "rectangle 60,70 180,170", "-fill", ACCENT, "-stroke", "none"] +
         sum((["-draw", "circle %d,%d %d,%d" % (x, y, x + 4, y)] for x, y in
              ((60, 70), (180, 70), (60, 170), (180, 170))), []) +
         ["-stroke", INK, "-strokewidth", "2", "-fill", "#ffd37a",
          "-draw", "rectangle 240,90 340,190"]),
        ("Lock the selection tool",
         ["Press the lock button on the position toolbar: after each",
          "shape you draw, Excel returns to Select Objects by itself,",
          "so a click selects instead of starting a new cell edit."],
         ["-stroke", INK, "-strokewidth", "2", "-fill", "white",
          "-draw", "polygon 120,70 120,170 145,145 165,190 180,183 160,140 195,140",
          "-fill", "#e8b33a", "-draw", "circle 250,150 268,150",
          "-draw", "rectangle 266,146 330,156", "-draw", "rectangle 312,156 320,172"]),
        ("Stacking order and position",
         ["Edit > Object List shows every object, frontmost first.",
          "Untick a row to hide it, move it with ToFront or Backward,",
          "and type Left, Top, Width, Height in centimetres."],
         ["-stroke", INK, "-strokewidth", "1", "-fill", "white", "-draw", "rectangle 25,60 235,210",
          "-fill", "#cfe0f5", "-draw", "rectangle 26,61 234,79",
          "-fill", INK, "-stroke", "none", "-font", FONT, "-pointsize", "10.5",
          "-annotate", "+32+96", "[x] Oval 3 ( ShapeOval )",
          "-annotate", "+32+118", "[x] Rectangle 2 ( ShapeRectangle )",
          "-annotate", "+32+140", "[ ] Line 1 ( Line )",
          "-stroke", INK, "-strokewidth", "1", "-fill", "#ffd37a", "-draw", "rectangle 255,80 375,100",
          "-draw", "rectangle 255,110 375,130", "-draw", "rectangle 255,140 375,160",
          "-fill", INK, "-stroke", "none", "-annotate", "+290+95", "ToFront",
          "-annotate", "+290+125", "Forward", "-annotate", "+284+155", "Backward"]),
        ("Text in shapes",
         ["Auto size fits a shape to its text. The four alignment",
          "buttons put the text at the top, centre, bottom or spread",
          "it out; the pressed button shows the current alignment."],
         ["-stroke", INK, "-strokewidth", "2", "-fill", "#fff4d6",
          "-draw", "rectangle 50,70 170,200", "-draw", "rectangle 230,70 350,200",
          "-fill", INK, "-stroke", "none", "-font", FONT, "-pointsize", "13",
          "-annotate", "+70+92", "Top aligned", "-annotate", "+242+142", "Centre aligned"]),
        ("Save a picture",
         ["Select shapes (or cells) and choose File > Save Picture:",
          "an .emf file stays sharp at any size, a .bmp is pixels.",
          "Whatever you had copied is put back on the clipboard."],
         ["-stroke", INK, "-strokewidth", "2", "-fill", "#cfe0f5", "-draw", "rectangle 60,70 180,190",
          "-fill", "#9fd0a6", "-draw", "ellipse 120,130 40,30 0,360",
          "-fill", "none", "-stroke", ACCENT, "-strokewidth", "4", "-draw", "line 200,130 250,130",
          "-draw", "line 238,118 250,130", "-draw", "line 238,142 250,130",
          "-stroke", INK, "-strokewidth", "2", "-fill", "white", "-draw", "rectangle 270,80 350,180",
          "-fill", INK, "-stroke", "none", "-font", BOLD, "-pointsize", "16", "-annotate", "+287+138", ".emf"]),
    ]


def logo():
    cmd = ["convert", "-size", "169x71", "xc:white",
           "-stroke", ACCENT, "-strokewidth", "3", "-fill", "none",
           "-draw", "bezier 12,58 30,10 52,30 60,14",
           "-stroke", INK, "-strokewidth", "2", "-draw", "line 14,60 58,16",
           "-font", BOLD, "-pointsize", "15", "-fill", INK, "-stroke", "none",
           "-annotate", "+68+34", "Quillmark",
           "-font", FONT, "-pointsize", "12", "-fill", ACCENT, "-annotate", "+70+54", "in Excel",
           "-colors", "32", "-type", "Palette", "-compress", "RLE", "BMP3:" + os.path.join(OUT, "logo.bmp")]
    subprocess.run(cmd, check=True)


def main():
    os.makedirs(OUT, exist_ok=True)
    for number, (title, lines, drawing) in enumerate(page_contents(), start=1):
        page(number, title, lines, drawing)
    logo()


if __name__ == "__main__":
    main()
