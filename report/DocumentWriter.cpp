#include "report/DocumentWriter.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "report/StepText.h"

namespace fdtools::report {
namespace {

using design::AttributeSet;
using design::Dependency;

// The markup of one document format: headings, paragraphs, lists and
// tables, and (as a Spelling) sets, dependencies and chase symbols.
class Markup : public Spelling {
 public:
  using Spelling::Spelling;
  virtual void begin(std::string& out, const std::string& title) const = 0;
  virtual void end(std::string& out) const = 0;
  virtual void heading(std::string& out, const std::string& title) const = 0;
  virtual void paragraph(std::string& out, const std::string& text) const = 0;
  virtual void list(std::string& out, const std::vector<std::string>& items,
                    bool numbered) const = 0;
  // A header row, then rows of cells.
  virtual void table(
      std::string& out, const std::vector<std::string>& header,
      const std::vector<std::vector<std::string>>& rows) const = 0;
  // Text that may hold any bytes, such as a warning naming attributes.
  virtual std::string escaped(const std::string& text) const = 0;
};

std::string latexEscaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\textbackslash{}";
        break;
      case '{':
      case '}':
      case '$':
      case '&':
      case '#':
      case '_':
      case '%':
        escaped += '\\';
        escaped += c;
        break;
      case '^':
        escaped += "\\^{}";
        break;
      case '~':
        escaped += "\\~{}";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

class Latex : public Markup {
 public:
  using Markup::Markup;

  std::string attribute(int id) const override {
    const std::string& name = schema().name(id);
    return "\\text{" + (name.empty() ? "''" : latexEscaped(name)) + "}";
  }
  std::string escaped(const std::string& text) const override {
    return latexEscaped(text);
  }
  std::string setInMath(const AttributeSet& set) const {
    if (set.empty()) return "\\emptyset";
    std::string text = "\\{";
    for (int id = set.first(); id >= 0; id = set.next(id)) {
      if (text.size() > 2) text += ", ";
      text += attribute(id);
    }
    return text + "\\}";
  }
  std::string set(const AttributeSet& set) const override {
    return "$" + setInMath(set) + "$";
  }
  std::string dependency(const Dependency& d, bool multivalued) const override {
    return "$" + setInMath(d.left) +
           (multivalued ? " \\mathrel{\\to\\!\\!\\!\\to} " : " \\to ") +
           setInMath(d.right) + "$";
  }
  std::string symbol(int symbol, int column) const override {
    if (symbol == 0) return "$a$";
    return "$b_{" + std::to_string(symbol - 1) + "," + attribute(column) + "}$";
  }

  void begin(std::string& out, const std::string& title) const override {
    out +=
        "\\documentclass{article}\n\\usepackage{amsmath}\n"
        "\\begin{document}\n\\section*{" +
        title + "}\n";
  }
  void end(std::string& out) const override { out += "\\end{document}\n"; }
  void heading(std::string& out, const std::string& title) const override {
    out += "\n\\subsection*{" + title + "}\n";
  }
  void paragraph(std::string& out, const std::string& text) const override {
    out += "\n" + text + "\n";
  }
  void list(std::string& out, const std::vector<std::string>& items,
            bool numbered) const override {
    if (items.empty()) return;
    const char* kind = numbered ? "enumerate" : "itemize";
    out += "\\begin{" + std::string(kind) + "}\n";
    for (const std::string& item : items) out += "\\item " + item + "\n";
    out += "\\end{" + std::string(kind) + "}\n";
  }
  void table(std::string& out, const std::vector<std::string>& header,
             const std::vector<std::vector<std::string>>& rows) const override {
    out +=
        "\n\\begin{tabular}{l|" + std::string(header.size() - 1, 'c') + "}\n";
    const auto row = [&](const std::vector<std::string>& cells) {
      for (std::size_t c = 0; c < cells.size(); ++c) {
        out += (c > 0 ? " & " : "") + cells[c];
      }
      out += " \\\\\n";
    };
    row(header);
    out += "\\hline\n";
    for (const auto& cells : rows) row(cells);
    out += "\\end{tabular}\n";
  }
};

// A code span that holds `text` whatever backticks it has.
std::string codeSpan(const std::string& text) {
  std::size_t run = 0;
  std::size_t longest = 0;
  for (const char c : text) {
    run = c == '`' ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  const std::string fence(longest + 1, '`');
  const bool pad = text.empty() || text.front() == '`' || text.back() == '`';
  return fence + (pad ? " " : "") + text + (pad ? " " : "") + fence;
}

class Markdown : public Markup {
 public:
  using Markup::Markup;

  std::string name(int id) const {
    const std::string& name = schema().name(id);
    return name.empty() ? "''" : name;
  }
  std::string plainSet(const AttributeSet& set) const {
    std::string text = "{";
    for (int id = set.first(); id >= 0; id = set.next(id)) {
      if (text.size() > 1) text += ", ";
      text += name(id);
    }
    return text + "}";
  }
  std::string attribute(int id) const override { return codeSpan(name(id)); }
  std::string escaped(const std::string& text) const override {
    std::string result;
    for (const char c : text) {
      if (std::string("\\`*_[]<>#|").find(c) != std::string::npos) {
        result += '\\';
      }
      result += c;
    }
    return result;
  }
  std::string set(const AttributeSet& set) const override {
    return codeSpan(plainSet(set));
  }
  std::string dependency(const Dependency& d, bool multivalued) const override {
    return codeSpan(plainSet(d.left) + (multivalued ? " ↠ " : " → ") +
                    plainSet(d.right));
  }
  std::string symbol(int symbol, int column) const override {
    if (symbol == 0) return codeSpan("a");
    return codeSpan("b" + std::to_string(symbol - 1) + "," + name(column));
  }

  void begin(std::string& out, const std::string& title) const override {
    out += "# " + title + "\n";
  }
  void end(std::string&) const override {}
  void heading(std::string& out, const std::string& title) const override {
    out += "\n## " + title + "\n";
  }
  void paragraph(std::string& out, const std::string& text) const override {
    out += "\n" + text + "\n";
  }
  void list(std::string& out, const std::vector<std::string>& items,
            bool numbered) const override {
    if (items.empty()) return;
    out += "\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
      out += (numbered ? std::to_string(i + 1) + ". " : "- ") + items[i] + "\n";
    }
  }
  void table(std::string& out, const std::vector<std::string>& header,
             const std::vector<std::vector<std::string>>& rows) const override {
    // A | would end the cell, even inside a code span.
    const auto row = [&](const std::vector<std::string>& cells) {
      out += "|";
      for (const std::string& cell : cells) {
        std::string escaped;
        for (const char c : cell) {
          if (c == '|') escaped += '\\';
          escaped += c;
        }
        out += " " + escaped + " |";
      }
      out += "\n";
    };
    out += "\n";
    row(header);
    out += "|";
    for (std::size_t c = 0; c < header.size(); ++c) out += " --- |";
    out += "\n";
    for (const auto& cells : rows) row(cells);
  }
};

class Writer {
 public:
  Writer(const Answers& answers, const Markup& markup)
      : answers(answers),
        schema(answers.schema),
        m(markup),
        steps(answers.steps ? &*answers.steps : nullptr) {}

  std::string text;

  void write() {
    m.begin(text,
            std::string("Worked solution: ") + commandName(answers.command));
    summary();
    forEachPart(answers, *this);
    m.end(text);
  }

  // "Table 2", or the table's own name.
  std::string tableLabel(std::size_t t) const {
    if (t < answers.tableNames.size()) {
      return "Table " + m.escaped(answers.tableNames[t]);
    }
    return "Table " + std::to_string(t);
  }

  void summary() {
    m.heading(text, "The schema");
    std::vector<std::string> items = {"attributes: " +
                                      m.set(schema.allAttributes())};
    for (std::size_t t = 0; t < schema.tables().size(); ++t) {
      items.push_back(tableLabel(t) + ": " + m.set(schema.tables()[t]));
    }
    for (std::size_t d = 0; d < schema.dependencies().size(); ++d) {
      items.push_back("dependency " + std::to_string(d) + ": " +
                      m.dependency(schema.dependencies()[d]));
    }
    for (std::size_t d = 0; d < schema.multivalued().size(); ++d) {
      items.push_back("multivalued dependency " + std::to_string(d) + ": " +
                      m.dependency(schema.multivalued()[d], true));
    }
    m.list(text, items, false);
    std::vector<std::string> warnings;
    for (const std::string& warning : warningTexts(answers, plain)) {
      warnings.push_back("Warning: " + m.escaped(warning));
    }
    m.list(text, warnings, false);
  }

  void stepList(const std::vector<std::string>& items, bool complete) {
    m.list(text, items, true);
    if (!complete) m.paragraph(text, stepsLeftOutText(complete));
  }

  void closure(const ClosureAnswer& answer) {
    m.heading(text, "Closure");
    m.paragraph(text, "The closure of " + m.set(answer.of) + " is " +
                          m.set(answer.closure) + ".");
    if (answer.basis) {
      std::vector<std::string> blocks;
      for (const AttributeSet& block : *answer.basis)
        blocks.push_back(m.set(block));
      m.paragraph(text, "Its dependency basis: " + joined(blocks) + ".");
    }
    if (steps != nullptr && steps->closure) {
      std::vector<std::string> items = {"start from " + m.set(answer.of)};
      for (const design::ClosureStep& step : steps->closure->steps) {
        items.push_back(closureStepText(m, schema.dependencies(), step));
      }
      stepList(items, steps->closure->complete);
    }
  }

  void keys(const design::KeySet& keys) {
    m.heading(text, "Keys");
    std::vector<std::string> listed;
    for (const AttributeSet& key : keys.keys) listed.push_back(m.set(key));
    m.paragraph(text, std::string(keys.complete ? "The keys: "
                                                : "The first keys found (not "
                                                  "all): ") +
                          joined(listed) +
                          ". Prime attributes: " + m.set(keys.prime) + ".");
    if (steps != nullptr && steps->keys) {
      std::vector<std::string> items = keyFactTexts(m, keys);
      for (const design::KeyProof& proof : steps->keys->steps) {
        items.push_back(keyProofText(m, proof));
      }
      stepList(items, steps->keys->complete);
    }
  }

  void cover(const std::vector<Dependency>& cover) {
    m.heading(text, "Minimal cover");
    if (steps != nullptr && steps->cover) {
      std::vector<std::string> items;
      for (const design::CoverStep& step : steps->cover->steps) {
        items.push_back(coverStepText(m, step));
      }
      if (items.empty()) {
        m.paragraph(text, "The dependencies are a minimal cover already.");
      }
      stepList(items, steps->cover->complete);
    }
    m.paragraph(text, "The cover:");
    m.list(text, dependencies(cover), false);
  }

  std::vector<std::string> dependencies(const std::vector<Dependency>& list) {
    std::vector<std::string> items;
    for (const Dependency& d : list) items.push_back(m.dependency(d));
    return items;
  }

  void normalForm(const std::string& label,
                  const design::NormalFormResult& result) {
    if (result.undecided) {
      m.paragraph(text, label + " " + m.set(result.attributes) +
                            ": undecided (" +
                            m.escaped(result.undecided->reason) + ").");
      return;
    }
    std::vector<std::string> keys;
    for (const AttributeSet& key : result.keys.keys) keys.push_back(m.set(key));
    if (result.coverStopped) {
      m.paragraph(text, label + " " + m.set(result.attributes) + " is in " +
                            design::formName(result.form) +
                            "; one of its keys: " + joined(keys) +
                            " (the dependencies that hold in it are not "
                            "listed: " +
                            m.escaped(result.coverStopped->reason) + ").");
    } else {
      m.paragraph(text, label + " " + m.set(result.attributes) + " is in " +
                            design::formName(result.form) +
                            "; its keys: " + joined(keys) + ".");
    }
    std::vector<std::string> items;
    for (const design::Violation& violation : result.violations) {
      std::vector<std::string> forms;
      for (const design::NormalFormName form : violation.violates) {
        forms.emplace_back(design::formName(form));
      }
      std::string item =
          m.dependency(violation.dependency, violation.multivalued) +
          " breaks " + joined(forms);
      if (steps != nullptr) {
        item += ": " + violationReasonText(m, violation);
      }
      items.push_back(item + ".");
    }
    m.list(text, items, false);
  }

  void normalForms(const design::NormalForms& forms) {
    m.heading(text, "Normal forms");
    normalForm("The schema", forms.schema);
    for (std::size_t t = 0; t < forms.tables.size(); ++t) {
      normalForm(tableLabel(t), forms.tables[t]);
    }
  }

  void tableau(const std::vector<std::vector<int>>& rows) {
    std::vector<std::string> header = {"row"};
    for (int a = 0; a < schema.attributeCount(); ++a) {
      header.push_back(m.attribute(a));
    }
    std::vector<std::vector<std::string>> cells;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      std::vector<std::string> row = {std::to_string(r)};
      for (std::size_t a = 0; a < rows[r].size(); ++a) {
        row.push_back(m.symbol(rows[r][a], static_cast<int>(a)));
      }
      cells.push_back(std::move(row));
    }
    m.table(text, header, cells);
  }

  void lossless(const design::ChaseResult& result) {
    m.heading(text, "Lossless join");
    if (steps != nullptr && steps->lossless) {
      const design::ChaseSteps& chase = *steps->lossless;
      m.paragraph(text, "The initial tableau: one row per table, " +
                            m.symbol(0, 0) +
                            " where the table has the attribute:");
      tableau(chase.initial);
      std::vector<std::string> items;
      for (const design::ChaseStep& step : chase.moves.steps) {
        items.push_back(chaseStepText(m, chase.dependencies, step));
      }
      m.paragraph(text, "The chase:");
      stepList(items, chase.moves.complete);
    }
    if (result.compact) {
      // Listed by row, the changed cells of each row in one item.
      m.paragraph(
          text, "The final tableau: " +
                    m.escaped(compactTableauText(result, schema.tables().size(),
                                                 schema.attributeCount())) +
                    ".");
      std::vector<std::string> items;
      for (std::size_t i = 0; i < result.changed.size(); ++i) {
        const design::ChangedCell& cell = result.changed[i];
        const std::string entry =
            m.attribute(cell.column) + " " + m.symbol(cell.symbol, cell.column);
        if (i == 0 || result.changed[i - 1].row != cell.row) {
          items.push_back("row " + std::to_string(cell.row) + ": " + entry);
        } else {
          items.back() += ", " + entry;
        }
      }
      m.list(text, items, false);
    } else {
      m.paragraph(text, "The final tableau:");
      tableau(result.tableau);
    }
    if (result.undecided) {
      m.paragraph(text,
                  "Undecided: " + m.escaped(result.undecided->reason) + ".");
    } else {
      m.paragraph(text,
                  result.lossless
                      ? "A row is all distinguished, so the join is lossless."
                      : "No row is all distinguished, so the join is lossy: "
                        "the final tableau is a counterexample.");
    }
  }

  void preservation(
      const std::vector<design::DependencyPreservation>& results) {
    m.heading(text, "Dependency preservation");
    std::vector<std::string> items;
    for (std::size_t d = 0; d < results.size(); ++d) {
      const design::DependencyPreservation& result = results[d];
      std::string item = m.dependency(schema.dependencies()[d]) +
                         (result.preserved ? " is preserved" : " is lost");
      if (!result.preserved && steps != nullptr) {
        item += ": " + lostText(m, result);
      }
      items.push_back(item + ".");
    }
    m.list(text, items, false);
  }

  void synthesis(const SynthesisAnswer& answer) {
    m.heading(text, std::string(answer.method == design::NormalFormName::k3nf
                                    ? "3NF synthesis"
                                    : design::formName(answer.method)) +
                        (answer.method == design::NormalFormName::k3nf
                             ? ""
                             : " decomposition"));
    if (steps != nullptr && steps->synthesis) {
      m.paragraph(text, "From the minimal cover:");
      m.list(text, dependencies(steps->synthesis->cover), false);
      stepList(synthesisStepTexts(m, answer.method, *steps->synthesis), true);
    }
    std::vector<std::string> tables;
    for (const AttributeSet& table : answer.tables)
      tables.push_back(m.set(table));
    m.paragraph(text, "The tables: " + joined(tables) + ". The join is " +
                          (answer.lossless ? "lossless" : "lossy") + ".");
    std::vector<std::string> lost;
    for (std::size_t d = 0; d < answer.preservation.size(); ++d) {
      if (!answer.preservation[d].preserved) {
        lost.push_back(m.dependency(schema.dependencies()[d]));
      }
    }
    m.paragraph(text, lost.empty() ? "Every dependency is preserved."
                                   : "Lost: " + joined(lost) + ".");
  }

  // Parts without steps do not come into a worked solution.
  void equivalent(const std::vector<design::ImplicationWitness>&, bool) {}
  void checkCover(const std::vector<design::CoverFailure>&, bool) {}
  void checkDecomposition(const design::DecompositionCheck&, bool) {}
  void convert(const ConvertAnswer&) {}

 private:
  static std::string plain(const std::string& name) { return name; }

  std::string joined(const std::vector<std::string>& items) const {
    if (items.empty()) return "none";
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
      text += (i > 0 ? ", " : "") + items[i];
    }
    return text;
  }

  const Answers& answers;
  const design::Schema& schema;
  const Markup& m;
  const AnswerSteps* steps;
};

}  // namespace

void writeDocument(std::ostream& out, const Answers& answers,
                   DocumentFormat format) {
  std::unique_ptr<Markup> markup;
  if (format == DocumentFormat::kLatex) {
    markup = std::make_unique<Latex>(answers.schema);
  } else {
    markup = std::make_unique<Markdown>(answers.schema);
  }
  Writer writer(answers, *markup);
  writer.write();
  out << writer.text;
}

}  // namespace fdtools::report
