#include "report/JsonStream.h"

#include "report/NameEncoding.h"

namespace fdtools::report {
namespace {

constexpr std::size_t kDrainSize = 1 << 20;

}  // namespace

JsonStream::JsonStream(std::ostream& out) : out(out) {}

JsonStream::~JsonStream() {
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

void JsonStream::newLine() {
  buffer += '\n';
  buffer.append(2 * levels.size(), ' ');
}

void JsonStream::drainIfFull() {
  if (buffer.size() < kDrainSize) return;
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  buffer.clear();
}

void JsonStream::beforeValue() {
  if (afterKey) {
    afterKey = false;
    return;
  }
  if (levels.empty()) return;
  if (!levels.back().empty) buffer += ',';
  levels.back().empty = false;
  newLine();
}

void JsonStream::key(const char* name) {
  if (!levels.back().empty) buffer += ',';
  levels.back().empty = false;
  newLine();
  buffer += '"';
  buffer += name;
  buffer += "\": ";
  afterKey = true;
}

void JsonStream::beginObject() {
  beforeValue();
  buffer += '{';
  levels.push_back({});
}

void JsonStream::beginArray() {
  beforeValue();
  buffer += '[';
  levels.push_back({});
}

void JsonStream::endObject() {
  const bool empty = levels.back().empty;
  levels.pop_back();
  if (!empty) newLine();
  buffer += '}';
  drainIfFull();
}

void JsonStream::endArray() {
  const bool empty = levels.back().empty;
  levels.pop_back();
  if (!empty) newLine();
  buffer += ']';
  drainIfFull();
}

void JsonStream::string(const std::string& bytes) {
  beforeValue();
  appendJsonString(buffer, bytes);
}

void JsonStream::number(long long value) {
  beforeValue();
  buffer += std::to_string(value);
}

void JsonStream::boolean(bool value) {
  beforeValue();
  buffer += value ? "true" : "false";
}

void JsonStream::null() {
  beforeValue();
  buffer += "null";
}

void JsonStream::strings(const std::vector<std::string>& names) {
  beginArray();
  for (const std::string& name : names) string(name);
  endArray();
}

}  // namespace fdtools::report
