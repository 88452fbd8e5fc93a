// The answers as a worked solution for people to paste or print: a LaTeX
// document (plain pdflatex, amsmath only) or a Markdown one, with every
// step. The two differ only in markup; what they say, and in which order,
// is one piece of code.
#ifndef REPORT_DOCUMENTWRITER_H_
#define REPORT_DOCUMENTWRITER_H_

#include <ostream>

#include "report/Pipeline.h"

namespace fdtools::report {

enum class DocumentFormat { kLatex, kMarkdown };

// `answers` should hold steps (Options::steps); parts without them are
// written with their answers alone.
void writeDocument(std::ostream& out, const Answers& answers,
                   DocumentFormat format);

}  // namespace fdtools::report

#endif  // REPORT_DOCUMENTWRITER_H_
