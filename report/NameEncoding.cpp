#include "report/NameEncoding.h"

#include <algorithm>
#include <cstdint>

namespace fdtools::report {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendEscape(std::string& out, unsigned code) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHex[(code >> shift) & 0xF];
}

// U+10FF00 + byte: F4 8F, then BC to BF, then a continuation byte.
void appendByteCharacter(std::string& out, unsigned char byte) {
  const unsigned cp = kByteCharacterBase + byte;
  out += static_cast<char>(0xF0 | cp >> 18);
  out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
  out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
  out += static_cast<char>(0x80 | (cp & 0x3F));
}

// Whether the valid sequence of `length` at `at` is a character of the
// byte range, U+10FF80 to U+10FFFF: F4 8F BE or BF, then any continuation.
bool isByteCharacter(const std::string& bytes, std::size_t at,
                     std::size_t length) {
  return length == 4 && static_cast<unsigned char>(bytes[at]) == 0xF4 &&
         static_cast<unsigned char>(bytes[at + 1]) == 0x8F &&
         static_cast<unsigned char>(bytes[at + 2]) >= 0xBE;
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
      if (length == 0 || isByteCharacter(bytes, i, length)) {
        const std::size_t count = length == 0 ? 1 : length;
        for (std::size_t k = 0; k < count; ++k) {
          appendByteCharacter(out, static_cast<unsigned char>(bytes[i + k]));
        }
        i += count;
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

std::string nameFromJson(const std::string& utf8) {
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length =
        std::max<std::size_t>(1, utf8SequenceLength(utf8, i));
    if (isByteCharacter(utf8, i, length)) {
      const unsigned low = (static_cast<unsigned char>(utf8[i + 2]) & 0x3F)
                               << 6 |
                           (static_cast<unsigned char>(utf8[i + 3]) & 0x3F);
      bytes += static_cast<char>(low & 0xFF);
    } else {
      bytes.append(utf8, i, length);
    }
    i += length;
  }
  return bytes;
}

}  // namespace fdtools::report
