#include "report/NameEncoding.h"

#include <cstdint>

namespace fdtools::report {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendEscape(std::string& out, unsigned code) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHex[(code >> shift) & 0xF];
}

}  // namespace

std::size_t utf8SequenceLength(const std::string& bytes, std::size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  std::size_t length = 0;
  std::uint32_t cp = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(bytes[at + k]);
    if ((next & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (next & 0x3F);
  }
  // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
  if ((length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000) ||
      (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    return 0;
  }
  return length;
}

bool isValidUtf8(const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = utf8SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void appendJsonString(std::string& out, const std::string& bytes) {
  out += '"';
  for (std::size_t i = 0; i < bytes.size();) {
    const char c = bytes[i];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      const std::size_t length = utf8SequenceLength(bytes, i);
      if (length == 0) {
        appendEscape(out, 0xDC00 + byte);
        ++i;
      } else {
        out.append(bytes, i, length);
        i += length;
      }
      continue;
    }
    ++i;
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20) {
          appendEscape(out, byte);
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

}  // namespace fdtools::report
