#pragma once

namespace tessary {

// A batch command read by CommandLine, run without a display: it sets the offscreen platform,
// makes the QApplication and returns the exit code.
//
// `tessary --export-html IN OUT [--title TEXT] [--keywords TEXT]` loads IN as opening it would
// (with the window's size limit), lays it out as the editor of the maximised main window
// on a 1280x1024 screen at 96 DPI, writes the page and returns 0; on failure one line goes
// to stderr, OUT is left as it was, and it returns 1. `--export-pdf` runs here as well; both
// read and write their files through BatchFiles.
int RunBatchCommand(int &argc, char **argv);

class CommandLine;
// The export itself, inside a running QApplication.
int ExportHtml(const CommandLine &line);

} // namespace tessary
