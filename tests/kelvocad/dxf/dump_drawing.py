"""Prints what ezdxf reads from a DXF file, one tab-separated line per item:

  HEADER  version  codepage  handseed
  LAYER   name  locked
  BLOCK   name  attdefs as JSON [[tag, prompt, default], ...]
  TEXT    handle  layer  text  x  y  z  ax  ay  az  halign  valign  height  rotation  style
  INSERT  handle  layer  name  x  y  z  attribute handles (comma separated)
  ATTRIB  handle  owner  tag  text  x  y  z  halign  valign  layer
  ENTITY  layout  type  handle  every attribute ezdxf knows and the extended data as JSON
  HANDLES every handle ezdxf knows once the file is loaded, comma separated
  AUDIT   number of errors ezdxf's audit finds

Texts are given with \\U+XXXX escapes resolved, as a CAD shows them.
"""
import json
import re
import sys
import ezdxf

UNICODE_ESCAPE = re.compile(r"\\U\+([0-9A-Fa-f]{4})")


def plain(text):
    text = UNICODE_ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), str(text))
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def num(value):
    return f"{float(value):.6f}"


def point(p):
    return [num(p[0]), num(p[1]), num(p[2] if len(p) > 2 else 0.0)]


def jsonable(value):
    if isinstance(value, (int, float, str)):
        return value if not isinstance(value, str) else plain(value)
    try:
        return [jsonable(v) for v in value]
    except TypeError:
        return str(value)


def entity_line(layout, e):
    attribs = {k: jsonable(v) for k, v in e.dxf.all_existing_dxf_attribs().items() if k != "owner"}
    xdata = {}
    if e.xdata:
        for appid in e.xdata.data:
            xdata[appid] = [[code, jsonable(value)] for code, value in e.get_xdata(appid)]
    return "\t".join(["ENTITY", layout, e.dxftype(), e.dxf.handle,
                      json.dumps({"dxf": attribs, "xdata": xdata}, sort_keys=True, ensure_ascii=False)])


def main():
    doc = ezdxf.readfile(sys.argv[1])
    out = []
    out.append("\t".join(["HEADER", doc.dxfversion, doc.header.get("$DWGCODEPAGE", ""),
                          doc.header.get("$HANDSEED", "")]))
    for layer in doc.layers:
        out.append("\t".join(["LAYER", plain(layer.dxf.name), "1" if layer.is_locked() else "0"]))
    for block in doc.blocks:
        if block.name.startswith("*"):
            continue
        attdefs = [[plain(a.dxf.tag), plain(a.dxf.get("prompt", "")), plain(a.dxf.text)]
                   for a in block.query("ATTDEF")]
        out.append("\t".join(["BLOCK", plain(block.name), json.dumps(attdefs, ensure_ascii=False)]))
    for e in doc.modelspace():
        if e.dxftype() == "TEXT":
            align = e.dxf.get("align_point", e.dxf.insert)
            out.append("\t".join(["TEXT", e.dxf.handle, plain(e.dxf.layer), plain(e.dxf.text)] + point(e.dxf.insert) +
                                 point(align) + [str(e.dxf.halign), str(e.dxf.valign), num(e.dxf.height),
                                                 num(e.dxf.rotation), plain(e.dxf.style)]))
        elif e.dxftype() == "INSERT":
            out.append("\t".join(["INSERT", e.dxf.handle, plain(e.dxf.layer), plain(e.dxf.name)] +
                                 point(e.dxf.insert) + [",".join(a.dxf.handle for a in e.attribs)]))
            for a in e.attribs:
                out.append("\t".join(["ATTRIB", a.dxf.handle, e.dxf.handle, plain(a.dxf.tag), plain(a.dxf.text)] +
                                     point(a.dxf.insert) + [str(a.dxf.halign), str(a.dxf.valign), plain(a.dxf.layer)]))
    for layout in doc.layouts:
        for e in layout:
            out.append(entity_line(layout.name, e))
            if e.dxftype() == "INSERT":
                for a in e.attribs:
                    out.append(entity_line(layout.name, a))
    out.append("HANDLES\t" + ",".join(sorted(doc.entitydb.keys())))
    out.append("AUDIT\t" + str(len(doc.audit().errors)))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
