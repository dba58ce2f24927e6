// One call-log line, formatted into a fixed buffer: Call("PutOption", 42, 1)
// gives "PutOption(42,1)". No allocation, so logging stays off the heap on
// the frame path. Lines longer than the buffer are cut.
#pragma once

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <type_traits>

namespace qvsim {

struct CallText {
  static constexpr size_t kSize = 160;
  char text[kSize] = {};
  size_t length = 0;

  void Append(const char* s) {
    if (s == nullptr) s = "(null)";
    while (*s != '\0' && length + 1 < kSize) text[length++] = *s++;
    text[length] = '\0';
  }
};

inline void AppendArg(CallText* t, const char* v) { t->Append(v); }
inline void AppendArg(CallText* t, char* v) { t->Append(v); }
inline void AppendArg(CallText* t, const std::string& v) { t->Append(v.c_str()); }
template <typename T, typename = std::enable_if_t<std::is_integral<T>::value>>
void AppendArg(CallText* t, T v) {
  char digits[24];
  if (std::is_signed<T>::value)
    std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(v));
  else
    std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(v));
  t->Append(digits);
}

template <typename... Args>
CallText Call(const char* op, Args... args) {
  CallText t;
  t.Append(op);
  t.Append("(");
  bool first = true;
  (void)std::initializer_list<int>{
      ((first ? (void)(first = false) : t.Append(",")), AppendArg(&t, args), 0)...};
  t.Append(")");
  return t;
}

}  // namespace qvsim
