#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quenlix {

// manual-pdf INPUT.md OUTPUT.pdf [--png-pages 1,5 --png-out DIR [--png-dpi N]]
// Renders a manual written in Markdown into an A4 PDF and, when asked, the
// given pages as PNG images named after the input (en.md: en-page-5.png).
// A QGuiApplication must exist. Errors go to err, one line each; the result
// is the exit status: 0 done, 1 failed, 2 bad arguments.
int RunManualPdf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quenlix
