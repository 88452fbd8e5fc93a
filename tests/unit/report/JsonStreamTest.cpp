#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "report/JsonStream.h"

namespace fdtools::report {
namespace {

// Writes `value` through the stream, member by member, as the writers do.
void stream(JsonStream& json, const nlohmann::ordered_json& value) {
  if (value.is_object()) {
    json.beginObject();
    for (const auto& item : value.items()) {
      json.key(item.key().c_str());
      stream(json, item.value());
    }
    json.endObject();
  } else if (value.is_array()) {
    json.beginArray();
    for (const auto& element : value) stream(json, element);
    json.endArray();
  } else if (value.is_string()) {
    json.string(value.get<std::string>());
  } else if (value.is_boolean()) {
    json.boolean(value.get<bool>());
  } else if (value.is_null()) {
    json.null();
  } else {
    json.number(value.get<long long>());
  }
}

TEST(JsonStream, LaysOutAsNlohmannDumpsATree) {
  const char* documents[] = {
      "{}",
      "[]",
      R"({"a": [], "b": {}, "c": [[]], "d": [{}]})",
      R"({"version": 1, "names": ["A", "B\"C"], "ok": true, "no": false})",
      R"([[1, 2], [3, [4, {"x": null}]], -7])",
      R"({"nested": {"deeper": {"deepest": ["end"]}}})",
  };
  for (const char* document : documents) {
    const auto value = nlohmann::ordered_json::parse(document);
    std::ostringstream out;
    {
      JsonStream json(out);
      stream(json, value);
    }
    EXPECT_EQ(out.str(), value.dump(2)) << document;
  }
}

}  // namespace
}  // namespace fdtools::report
