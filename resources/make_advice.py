#!/usr/bin/env python3
"""Draws the one-point advice pages (six pictures of 400 x 330 pixels, one drawing tip
each) in English and in Japanese, and the logo (169 x 71), with ImageMagick, and writes
them as palette BMP files with run-length compression (small, and drawn by GDI as they
are). Our own artwork: run it again after changing a page; the results are committed in
artwork/. The Japanese pages need the IPA P Gothic font (Debian's fonts-ipafont-gothic)."""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "artwork")
FONT = "DejaVu-Sans"
BOLD = "DejaVu-Sans-Bold"
GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
W, H = 400, 330
TEXT_TOP = 236
TEXT_BOTTOM = 304  # the last baseline; the accent bar starts below it

INK = "#1f2a44"
ACCENT = "#2f6fb5"
PAPER = "#fbfaf4"
GRID = "#d9dde6"


class Lang:
    """How one language's pages are lettered: fonts, sizes, the file names' suffix."""

    def __init__(self, suffix, font, bold, size, step, title_stroke, labels):
        self.suffix = suffix
        self.font = font
        self.bold = bold
        self.size = size
        self.step = step
        self.title_stroke = title_stroke  # IPA Gothic has no bold face: a thin outline thickens it
        self.labels = labels


def grid(step=10, top=56, bottom=300):
    """Faint cell grid, as the drawing sheet shows it."""
    cmds = ["-stroke", GRID, "-strokewidth", "1"]
    for x in range(20, W - 19, step):
        cmds += ["-draw", "line %d,%d %d,%d" % (x, top, x, bottom)]
    for y in range(top, bottom + 1, step):
        cmds += ["-draw", "line 20,%d %d,%d" % (y, W - 20, y)]
    return cmds


def text_width(text, font, size):
    out = subprocess.run(["convert", "-font", font, "-pointsize", str(size), "label:" + text, "-format", "%w", "info:"],
                         check=True, capture_output=True, text=True).stdout
    return int(out)


def centred(x, width, text, font, size):
    """The left edge that centres `text` in a box at x of that width."""
    return x + (width - text_width(text, font, size)) // 2


def page(lang, number, title, lines, drawing):
    name = "advice%d%s.bmp" % (number, lang.suffix)
    if TEXT_TOP + (len(lines) - 1) * lang.step > TEXT_BOTTOM:
        raise SystemExit("%s: too many lines" % name)
    for line in lines:
        if text_width(line, lang.font, lang.size) > W - 36:
            raise SystemExit("%s: the line does not fit: %s" % (name, line))
    if text_width("%d  %s" % (number, title), lang.bold, 17) > W - 28:
        raise SystemExit("%s: the title does not fit: %s" % (name, title))
    cmd = ["convert", "-size", "%dx%d" % (W, H), "xc:" + PAPER]
    cmd += ["-fill", ACCENT, "-stroke", "none", "-draw", "rectangle 0,0 %d,40" % W]
    cmd += ["-font", lang.bold, "-pointsize", "17", "-fill", "white"]
    if lang.title_stroke:
        cmd += ["-stroke", "white", "-strokewidth", str(lang.title_stroke)]
    cmd += ["-annotate", "+14+27", "%d  %s" % (number, title)]
    cmd += drawing
    cmd += ["-font", lang.font, "-pointsize", str(lang.size), "-fill", INK, "-stroke", "none"]
    y = TEXT_TOP
    for line in lines:
        cmd += ["-annotate", "+18+%d" % y, line]
        y += lang.step
    cmd += ["-fill", ACCENT, "-draw", "rectangle 0,%d %d,%d" % (H - 6, W, H)]
    cmd += ["-colors", "64", "-type", "Palette", "-compress", "RLE", "BMP3:" + os.path.join(OUT, name)]
    subprocess.run(cmd, check=True)


def shapes_page(lang):
    d = grid(top=50, bottom=215)
    d += ["-stroke", INK, "-strokewidth", "2", "-fill", "#ffd37a",
          "-draw", "rectangle 50,80 150,150",
          "-fill", "#9fd0a6", "-draw", "ellipse 230,115 50,35 0,360",
          "-fill", "none", "-draw", "line 150,115 180,115",
          "-fill", "#cfe0f5", "-draw", "rectangle 300,60 370,205"]
    first, second = lang.labels["palette"]
    d += ["-font", lang.font, "-pointsize", "10", "-fill", INK, "-stroke", "none",
          "-annotate", "+304+75", first, "-annotate", "+304+90", second]
    return d


def list_page(lang):
    rows = lang.labels["rows"]
    d = ["-stroke", INK, "-strokewidth", "1", "-fill", "white", "-draw", "rectangle 25,60 235,210",
         "-fill", "#cfe0f5", "-draw", "rectangle 26,61 234,79",
         "-fill", INK, "-stroke", "none", "-font", lang.font, "-pointsize", "10.5",
         "-annotate", "+32+96", rows[0], "-annotate", "+32+118", rows[1], "-annotate", "+32+140", rows[2],
         "-stroke", INK, "-strokewidth", "1", "-fill", "#ffd37a", "-draw", "rectangle 255,80 375,100",
         "-draw", "rectangle 255,110 375,130", "-draw", "rectangle 255,140 375,160",
         "-fill", INK, "-stroke", "none"]
    for caption, baseline in zip(lang.labels["buttons"], (95, 125, 155)):
        d += ["-annotate", "+%d+%d" % (centred(255, 120, caption, lang.font, 10.5), baseline), caption]
    return d


def text_page(lang):
    top, centre = lang.labels["aligned"]
    return ["-stroke", INK, "-strokewidth", "2", "-fill", "#fff4d6",
            "-draw", "rectangle 50,70 170,200", "-draw", "rectangle 230,70 350,200",
            "-fill", INK, "-stroke", "none", "-font", lang.font, "-pointsize", "13",
            "-annotate", "+%d+92" % centred(50, 120, top, lang.font, 13), top,
            "-annotate", "+%d+142" % centred(230, 120, centre, lang.font, 13), centre]


def snap_drawing():
    return (grid(step=20, top=50, bottom=215) +
            ["-stroke", ACCENT, "-strokewidth", "2", "-fill", "#cfe0f5",
             "-draw", "rectangle 60,70 180,170", "-fill", ACCENT, "-stroke", "none"] +
            sum((["-draw", "circle %d,%d %d,%d" % (x, y, x + 4, y)] for x, y in
                 ((60, 70), (180, 70), (60, 170), (180, 170))), []) +
            ["-stroke", INK, "-strokewidth", "2", "-fill", "#ffd37a",
             "-draw", "rectangle 240,90 340,190"])


def lock_drawing():
    return ["-stroke", INK, "-strokewidth", "2", "-fill", "white",
            "-draw", "polygon 120,70 120,170 145,145 165,190 180,183 160,140 195,140",
            "-fill", "#e8b33a", "-draw", "circle 250,150 268,150",
            "-draw", "rectangle 266,146 330,156", "-draw", "rectangle 312,156 320,172"]


def save_drawing():
    return ["-stroke", INK, "-strokewidth", "2", "-fill", "#cfe0f5", "-draw", "rectangle 60,70 180,190",
            "-fill", "#9fd0a6", "-draw", "ellipse 120,130 40,30 0,360",
            "-fill", "none", "-stroke", ACCENT, "-strokewidth", "4", "-draw", "line 200,130 250,130",
            "-draw", "line 238,118 250,130", "-draw", "line 238,142 250,130",
            "-stroke", INK, "-strokewidth", "2", "-fill", "white", "-draw", "rectangle 270,80 350,180",
            "-fill", INK, "-stroke", "none", "-font", BOLD, "-pointsize", "16", "-annotate", "+287+138", ".emf"]


ENGLISH = Lang("", FONT, BOLD, 12.5, 19, 0, {
    "palette": ("Add Shapes", "palette"),
    "rows": ("[x] Oval 3 ( ShapeOval )", "[x] Rectangle 2 ( ShapeRectangle )", "[ ] Line 1 ( Line )"),
    "buttons": ("ToFront", "Forward", "Backward"),
    "aligned": ("Top aligned", "Centre aligned"),
})

# The menus, bars and buttons named as the Japanese user sees them (the add-in's and
# Excel's own Japanese captions), and the shape names Japanese Excel gives.
JAPANESE = Lang("-ja", GOTHIC, GOTHIC, 13, 20, 0.6, {
    "palette": ("オートシェイプ", "の追加"),
    "rows": ("[x] 楕円 3 ( ShapeOval )", "[x] 正方形/長方形 2 ( ShapeRectangle )", "[ ] 直線 1 ( Line )"),
    "buttons": ("最前面へ移動", "前面へ移動", "背面へ移動"),
    "aligned": ("上詰め", "中央揃え"),
})


def page_contents(lang):
    texts = {
        ENGLISH: [
            ("Welcome to Draw mode",
             ["The sheet is now a canvas. The palette at the right adds",
              "shapes; text, format and position tools sit at the top,",
              "left and bottom. File > Exit Draw mode brings Excel back."]),
            ("Snap to the grid",
             ["A new drawing sheet has small, equal cells. With Snap to",
              "Grid on, corners land exactly on them. Set the cell size",
              "in Setting; it applies to the next drawing sheet."]),
            ("Lock the selection tool",
             ["Press the lock button on the position toolbar: after each",
              "shape you draw, Excel returns to Select Objects by itself,",
              "so a click selects instead of starting a new cell edit."]),
            ("Stacking order and position",
             ["Edit > Object List shows every object, frontmost first.",
              "Untick a row to hide it, move it with ToFront or Backward,",
              "and type Left, Top, Width, Height in centimetres."]),
            ("Text in shapes",
             ["Auto size fits a shape to its text. The four alignment",
              "buttons put the text at the top, centre, bottom or spread",
              "it out; the pressed button shows the current alignment."]),
            ("Save a picture",
             ["Select shapes (or cells) and choose File > Save Picture:",
              "an .emf file stays sharp at any size, a .bmp is pixels.",
              "Whatever you had copied is put back on the clipboard."]),
        ],
        JAPANESE: [
            ("Drawモードへようこそ",
             ["シートが描画用のキャンバスになりました。",
              "右のパレットで図形を追加できます。文字・書式・配置の",
              "ツールは上・左・下のバーにあります。Excelに戻るには",
              "「ファイル」→「Drawモードを終了して戻る」を選びます。"]),
            ("グリッドに合わせる",
             ["新しい描画用シートは、小さく均等なセルでできています。",
              "「グリッドに合わせる」をオンにすると、図形の角が",
              "セルの線にぴったり合います。セルの大きさは「設定」で",
              "変更でき、次に作る描画用シートから反映されます。"]),
            ("選択ツールをロックする",
             ["「配置の設定」バーのロックボタンを押しておくと、",
              "図形を一つ描くごとに、Excelが自動で",
              "「オブジェクトの選択」に戻ります。クリックしても",
              "セルの編集が始まらず、そのまま図形を選択できます。"]),
            ("重なり順と位置",
             ["「編集」→「オブジェクト一覧と順序／位置の変更」で、",
              "すべてのオブジェクトを最前面のものから順に表示します。",
              "チェックを外すと非表示になり、「最前面へ移動」などで",
              "重なり順を変え、位置と大きさはcm単位で入力できます。"]),
            ("図形の中の文字",
             ["「自動サイズ調整」で図形の大きさを文字に合わせます。",
              "4つの配置ボタンで、文字を上詰め・中央揃え・下詰め・",
              "均等割付にできます。押されているボタンが、",
              "現在の配置を示しています。"]),
            ("画像として保存",
             ["図形（またはセル）を選んで「ファイル」メニューの",
              "「選択オブジェクトを画像として保存」を選びます。",
              ".emfは拡大しても鮮明なまま、.bmpはピクセルの画像です。",
              "コピーしていた内容はクリップボードに戻ります。"]),
        ],
    }[lang]
    drawings = [shapes_page(lang), snap_drawing(), lock_drawing(), list_page(lang), text_page(lang), save_drawing()]
    return [(title, lines, drawing) for (title, lines), drawing in zip(texts, drawings)]


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
    if not os.path.exists(GOTHIC):
        raise SystemExit("the Japanese pages need %s (fonts-ipafont-gothic)" % GOTHIC)
    for lang in (ENGLISH, JAPANESE):
        for number, (title, lines, drawing) in enumerate(page_contents(lang), start=1):
            page(lang, number, title, lines, drawing)
    logo()


if __name__ == "__main__":
    main()
