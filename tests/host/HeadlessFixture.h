#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/Form1.h"
#include "ops/Module1.h"
#include "platform/ProgramRun.h"
#include "platform/headless/World.h"

// Each test starts from a fresh run: Windows XP, System Restore answering 0, clock at 0.
class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world().Reset();
    Module1::strStatus = platform::Text();
    Module1::intCountdown = 0;
  }

  static platform::headless::World& world() { return platform::headless::World::Get(); }

  static std::wstring Status() { return platform::headless::WideOf(Module1::strStatus); }

  // Position of the first trace entry starting with `prefix`, or -1.
  static long TraceIndex(const std::wstring& prefix) {
    const auto& trace = world().Trace();
    auto it = std::find_if(trace.begin(), trace.end(),
                           [&](const std::wstring& e) { return e.rfind(prefix, 0) == 0; });
    return it == trace.end() ? -1 : static_cast<long>(it - trace.begin());
  }

  static std::wstring TraceText() {
    std::wstring all;
    for (const auto& e : world().Trace()) all += e + L"\n";
    return all;
  }

 private:
  // Procedures a test calls directly, outside RunFerrule, still have a run to answer to.
  platform::ProgramRun directCalls_;
};
