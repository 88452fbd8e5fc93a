// JSON written as it is produced, laid out as nlohmann-json's dump(2) lays
// out a tree: each member and element on its own line, indented by two per
// level, "[]" and "{}" when empty. A report can run to many megabytes, and
// a tree of it would take several times that in memory first.
#ifndef REPORT_JSONSTREAM_H_
#define REPORT_JSONSTREAM_H_

#include <ostream>
#include <string>
#include <vector>

namespace fdtools::report {

class JsonStream {
 public:
  explicit JsonStream(std::ostream& out);
  JsonStream(const JsonStream&) = delete;
  JsonStream& operator=(const JsonStream&) = delete;
  // Hands the rest to the stream.
  ~JsonStream();

  void beginObject();
  void endObject();
  void beginArray();
  void endArray();
  // The member whose value comes next; `name` is plain ASCII.
  void key(const char* name);
  // A name or any other byte string (see NameEncoding.h).
  void string(const std::string& bytes);
  void number(long long value);
  void boolean(bool value);
  void null();
  // Writes each of `names` as a string, in an array.
  void strings(const std::vector<std::string>& names);

 private:
  void beforeValue();
  void newLine();
  void drainIfFull();

  struct Level {
    bool empty = true;
  };
  std::ostream& out;
  std::string buffer;
  std::vector<Level> levels;
  bool afterKey = false;
};

}  // namespace fdtools::report

#endif  // REPORT_JSONSTREAM_H_
