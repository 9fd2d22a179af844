#!/usr/bin/env python3
import sys

# A document of mixed notation and prose: paragraphs of eight short runs in six faces.
# Usage: mixed-document.py BYTES > FILE.rtf
size = int(sys.argv[1])
faces = ["Times New Roman", "Courier New Even", "Courier New High", "Courier New Greek Even",
         "TessarySymbol Even", "Arial"]
charset = [0, 0, 0, 161, 2, 0]
out = ["{\\rtf1\\ansi\\deff0{\\fonttbl"]
for i, f in enumerate(faces):
    out.append("{\\f%d\\fnil\\fcharset%d %s;}" % (i, charset[i], f))
out.append("}\n\\pard\\plain ")
n = sum(len(s) for s in out)
words = ["the", "sum", "over", "all", "terms", "where", "value", "holds"]
i = 0
while n < size - 40:
    f = i % 6
    run = "\\f%d\\fs%d%s %s x%d + y = z %s" % (f, 22 if i % 2 else 24, "\\b" if i % 3 == 0 else "\\b0",
                                         words[i % 8], i, words[(i * 3) % 8])
    if i % 8 == 7:
        run += "\\par\n"
    out.append(run)
    n += len(run)
    i += 1
out.append("\\par}\n")
sys.stdout.write("".join(out))
