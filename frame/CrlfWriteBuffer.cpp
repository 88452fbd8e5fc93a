#include "frame/CrlfWriteBuffer.h"

namespace fdtools {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

}  // namespace

CrlfWriteBuffer::CrlfWriteBuffer(std::streambuf* sink)
    : sink(sink), raw(kBufferSize) {
  setp(raw.data(), raw.data() + raw.size());
}

CrlfWriteBuffer::~CrlfWriteBuffer() { drain(); }

CrlfWriteBuffer::int_type CrlfWriteBuffer::overflow(int_type ch) {
  if (!drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(ch, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
  }
  return traits_type::not_eof(ch);
}

int CrlfWriteBuffer::sync() {
  if (!drain()) return -1;
  if (sink == nullptr) return 0;
  return sink->pubsync() == 0 ? 0 : -1;
}

bool CrlfWriteBuffer::drain() {
  translated.clear();
  for (const char* p = pbase(); p != pptr(); ++p) {
    if (*p == '\n') translated += '\r';
    translated += *p;
  }
  setp(raw.data(), raw.data() + raw.size());
  if (lostData) return false;
  if (translated.empty()) return true;
  if (sink == nullptr) {
    lostData = true;
    return false;
  }
  const auto size = static_cast<std::streamsize>(translated.size());
  lostData = sink->sputn(translated.data(), size) != size;
  return !lostData;
}

}  // namespace fdtools
