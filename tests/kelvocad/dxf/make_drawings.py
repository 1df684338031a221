"""Writes the DXF drawings the KelvoCAD DXF tests open: make_drawings.py OUTDIR.

One drawing per version (R12 in Shift_JIS, R2000 in code page 1252, R2018 in UTF-8), each
with a locked layer, a block with attribute definitions and references to it, TEXTs in
every alignment, and things KelvoCAD's model does not hold (lines, polylines, circles,
paper-space text, extended data) that a save must keep.
"""
import sys
import ezdxf

# Horizontal and vertical justification codes for the 15 alignments of a TEXT.
ALIGNMENTS = [(0, 0), (1, 0), (2, 0), (3, 0), (4, 0), (5, 0),
              (0, 3), (1, 3), (2, 3), (0, 2), (1, 2), (2, 2), (0, 1), (1, 1), (2, 1)]

TEXTS = {
    "R12": ["日本語の文字", "ｶﾀｶﾅ半角", "ASCII only"],
    "R2000": ["Grüße aus Köln", "naïve café Ωmega", "plain"],
    "R2018": ["日本語 UTF-8 Ω ≈ 😀", "Ελληνικά", "plain"],
}


def make(version, path):
    doc = ezdxf.new(version)
    if version == "R12":
        doc.encoding = "cp932"
    doc.layers.new("Locked", dxfattribs={"color": 1}).lock()
    doc.layers.new("Notes", dxfattribs={"color": 3})
    if version != "R12":
        doc.appids.new("KELVO")

    block = doc.blocks.new("TITLE", base_point=(1, 2))
    block.add_line((0, 0), (40, 0))
    block.add_attdef("NAME", (0, 5), dxfattribs={"prompt": "Drawing name", "height": 2.5}).dxf.text = "untitled"
    block.add_attdef("DATE", (0, 10), dxfattribs={"prompt": "Date", "height": 2.0}).dxf.text = "today"

    msp = doc.modelspace()
    texts = TEXTS[version]
    for i, (halign, valign) in enumerate(ALIGNMENTS):
        text = msp.add_text(f"{texts[i % len(texts)]} {i}", dxfattribs={
            "layer": "Notes" if i % 2 else "0", "height": 2.5 + i / 10, "rotation": 5 * i})
        text.dxf.insert = (10 * i, 20, 0)
        text.dxf.halign = halign
        text.dxf.valign = valign
        if halign or valign:
            text.dxf.align_point = (10 * i + 5, 25, 0)
    msp.add_text("locked layer text", dxfattribs={"layer": "Locked"}).dxf.insert = (0, -10)

    for i in range(2):
        ref = msp.add_blockref("TITLE", (100 + 50 * i, 100), dxfattribs={"layer": "Notes"})
        ref.add_attrib("NAME", f"{texts[0]} sheet {i}", (101 + 50 * i, 107), dxfattribs={"height": 2.5})
        ref.add_attrib("DATE", f"2026-0{i + 1}-01", (101 + 50 * i, 112), dxfattribs={"height": 2.0})
    msp.add_blockref("TITLE", (0, 200))  # no attributes

    msp.add_line((0, 0), (100, 100), dxfattribs={"color": 5})
    msp.add_circle((50, 50), 10)
    if version == "R12":
        msp.add_polyline2d([(0, 0), (10, 0), (10, 10)])
    else:
        msp.add_lwpolyline([(0, 0), (10, 0), (10, 10)])
        tagged = msp.add_text("with xdata")
        tagged.set_xdata("KELVO", [(1000, "kept"), (1040, 1.5)])
    doc.layout("Layout1").add_text("paper space text")
    doc.saveas(path)


def main():
    out = sys.argv[1]
    for version in ("R12", "R2000", "R2018"):
        make(version, f"{out}/{version}.dxf")


if __name__ == "__main__":
    main()
