// A small test harness for the Windows test programs, which run under Wine
// where GoogleTest is not built: cases registered by CASE(Suite, Name), run
// by suite name from the command line, failures printed with file and line.
// The program ends with "N passed, N failed" and a non-zero status on any
// failure.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace cxw {

struct Case {
  const char* suite;
  const char* name;
  void (*run)();
};

inline std::vector<Case>& cases() {
  static std::vector<Case> all;
  return all;
}

inline int& failures_in_case() {
  static int n = 0;
  return n;
}

struct Register {
  Register(const char* suite, const char* name, void (*run)()) {
    cases().push_back({suite, name, run});
  }
};

inline void fail(const char* file, int line, const std::string& what) {
  std::printf("%s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
  ++failures_in_case();
}

template <typename T>
std::string shown(const T& v) {
  char text[48];
  if constexpr (std::is_same_v<T, std::string>) {
    return "\"" + v + "\"";
  } else if constexpr (std::is_convertible_v<T, const char*>) {
    const char* text_of = v;
    return text_of ? "\"" + std::string(text_of) + "\"" : std::string("null");
  } else if constexpr (std::is_pointer_v<T>) {
    std::snprintf(text, sizeof text, "%p", reinterpret_cast<const void*>(v));
  } else if constexpr (std::is_floating_point_v<T>) {
    std::snprintf(text, sizeof text, "%.17g", static_cast<double>(v));
  } else {
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(v));
  }
  return text;
}

// Runs the cases of the suites named in argv (all when none is named).
inline int run_cases(int argc, char** argv) {
  int passed = 0, failed = 0;
  for (const Case& c : cases()) {
    bool wanted = argc < 2;
    for (int i = 1; i < argc; ++i) wanted = wanted || std::strcmp(argv[i], c.suite) == 0;
    if (!wanted) continue;
    failures_in_case() = 0;
    c.run();
    const bool ok = failures_in_case() == 0;
    std::printf("[%s] %s.%s\n", ok ? "  OK  " : "FAILED", c.suite, c.name);
    std::fflush(stdout);
    (ok ? passed : failed)++;
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}

}  // namespace cxw

#define CASE(suite, name)                                                                   \
  static void suite##_##name();                                                             \
  static const ::cxw::Register suite##_##name##_registered(#suite, #name, &suite##_##name); \
  static void suite##_##name()

#define CHECK(cond) ((cond) ? (void)0 : ::cxw::fail(__FILE__, __LINE__, "check failed: " #cond))

#define CHECK_EQ(actual, expected)                                                             \
  do {                                                                                         \
    const auto& cxw_a = (actual);                                                              \
    const auto& cxw_e = (expected);                                                            \
    if (!(cxw_a == cxw_e))                                                                     \
      ::cxw::fail(__FILE__, __LINE__,                                                          \
                  #actual " is " + ::cxw::shown(cxw_a) + ", expected " + ::cxw::shown(cxw_e)); \
  } while (0)

// Ends the case at a failed precondition.
#define REQUIRE(cond)                                                \
  do {                                                               \
    if (!(cond)) {                                                   \
      ::cxw::fail(__FILE__, __LINE__, "requirement failed: " #cond); \
      return;                                                        \
    }                                                                \
  } while (0)
