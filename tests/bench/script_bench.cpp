// Script engine figures: a recursive fib(25) and a loop that builds a string, timed in the
// engine and, in the same run, in Lua 5.4 running the equivalent program (when lua5.4 is
// installed). Prints milliseconds and the engine/Lua ratio.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "script.h"

namespace {

struct Workload {
  const char* name;
  const char16_t* setup;  // definitions, run once
  const char16_t* timed;  // the measured text
  const char* lua;        // the same in Lua: prints its own seconds
  bool fails = false;     // the timed text is expected to fail (a parse error)
};

// x = a || a && a | a == a < a << a + a * -a ... (40 times): the last operator of a level is
// a prefix minus, so every level's split fails and is retried from the levels above. It ends
// in error 201; Lua compiles the same chain.
std::u16string Chain(const char16_t* piece) {
  std::u16string text = u"x = a";
  for (int i = 0; i < 40; ++i) text += piece;
  return text + u";";
}
const std::u16string kChain = Chain(u" || a && a | a == a < a << a + a * -a");
std::string LuaChain() {
  std::string chain = "x = a";
  for (int i = 0; i < 40; ++i) chain += " or a and a | a == a < a << a + a * -a";
  return "local t = os.clock() for i = 1, 100 do load('" + chain +
         "') end print((os.clock() - t) / 100)\n";
}
const std::string kLuaChain = LuaChain();

const Workload kWorkloads[] = {
    {"fib(25)", u"int fib(int n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); }",
     u"int r = fib(25);",
     "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end\n"
     "local t = os.clock() local r = fib(25) print(os.clock() - t)\n"},
    {"string 20000", u"", u"string s = ''; int i; for (i = 0; i < 20000; i++) s = s + 'x';",
     "local t = os.clock() local s = '' for i = 0, 19999 do s = s .. 'x' end print(os.clock() - "
     "t)\n"},
    {"parse chain 40", u"", kChain.c_str(), kLuaChain.c_str(), true},
};

double EngineMs(const Workload& w) {
  qorin::XScript engine;
  engine.Run(w.setup);
  auto start = std::chrono::steady_clock::now();
  if (engine.Run(w.timed) == w.fails)
    std::fprintf(stderr, "engine: unexpected result: %s\n", w.name);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double LuaMs(const Workload& w) {
  const char* path = "/tmp/qorin_script_bench.lua";
  std::ofstream(path) << w.lua;
  FILE* pipe = popen("lua5.4 /tmp/qorin_script_bench.lua 2>/dev/null", "r");
  if (pipe == nullptr) return -1;
  double seconds = -1;
  if (std::fscanf(pipe, "%lf", &seconds) != 1) seconds = -1;
  pclose(pipe);
  return seconds < 0 ? -1 : seconds * 1000;
}

}  // namespace

int main() {
  std::printf("%-14s %12s %12s %8s\n", "workload", "engine ms", "lua5.4 ms", "ratio");
  for (const Workload& w : kWorkloads) {
    double best = 1e300, lua = 1e300;
    for (int i = 0; i < 3; ++i) {
      best = std::min(best, EngineMs(w));
      double l = LuaMs(w);
      if (l >= 0) lua = std::min(lua, l);
    }
    if (lua < 1e300) {
      std::printf("%-14s %12.1f %12.1f %7.1fx\n", w.name, best, lua, best / std::max(lua, 0.001));
    } else {
      std::printf("%-14s %12.1f %12s %8s\n", w.name, best, "(no lua5.4)", "-");
    }
  }
  return 0;
}
