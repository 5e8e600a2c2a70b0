// Speed of the standard calculator on a full tape: evaluating, refreshing,
// drawing every line, editing an early number and reading a section.
// Goal: each under 10 ms for 1998 entries, so that typing never lags.
#include <benchmark/benchmark.h>

#include <array>

#include "platform/scripted_messenger.h"
#include "standard/standard_calculator.h"
#include "standard/tape_section.h"

namespace {

// One calculation of 1998 entries: 999 numbers joined by operators, the
// worst case for the text evaluation (nothing restarts it).
void fillOneCalculation(qz::Tape& tape) {
  const qz::EntryKind ops[] = {qz::EntryKind::Plus, qz::EntryKind::Times, qz::EntryKind::Minus,
                               qz::EntryKind::Divide};
  for (int i = 0; i < 1997; ++i) {
    if (i % 2 == 0)
      tape.append(qz::EntryKind::Number, 1.0 + (i % 97) / 7.0, {0, 2});
    else
      tape.append(ops[(i / 2) % 4], 0.0, {0, 2});
  }
}

// Many short calculations with totals and functions, as a day of work looks.
void fillManyCalculations(qz::StandardCalculator& calc, qz::TapeEngine& engine) {
  while (engine.tape().count() < 1990) {
    calc.editDisplay("12.5", 4);
    calc.command(qz::StandardCommand::Plus);
    calc.editDisplay("9", 1);
    calc.command(qz::StandardCommand::SquareRoot);
    calc.command(qz::StandardCommand::Times);
    calc.editDisplay("3", 1);
    calc.command(qz::StandardCommand::Total);
  }
}

void BM_EvaluateOneLongCalculation(benchmark::State& state) {
  qz::ScriptedMessenger messenger;
  qz::TapeEngine engine(messenger);
  fillOneCalculation(engine.tape());
  for (auto _ : state) benchmark::DoNotOptimize(engine.evaluate(0, false));
}
BENCHMARK(BM_EvaluateOneLongCalculation)->Unit(benchmark::kMillisecond);

void BM_RefreshOneLongCalculation(benchmark::State& state) {
  qz::ScriptedMessenger messenger;
  qz::TapeEngine engine(messenger);
  fillOneCalculation(engine.tape());
  for (auto _ : state) engine.refresh();
}
BENCHMARK(BM_RefreshOneLongCalculation)->Unit(benchmark::kMillisecond);

void BM_UpdateFirstNumberOfLongCalculation(benchmark::State& state) {
  qz::ScriptedMessenger messenger;
  qz::TapeEngine engine(messenger);
  fillOneCalculation(engine.tape());
  engine.select(0);
  for (auto _ : state) benchmark::DoNotOptimize(engine.updateSelected("2.5"));
}
BENCHMARK(BM_UpdateFirstNumberOfLongCalculation)->Unit(benchmark::kMillisecond);

void BM_TotalOnManyCalculations(benchmark::State& state) {
  qz::ScriptedMessenger messenger;
  qz::TapeEngine engine(messenger);
  std::array<double, 10> memories{};
  qz::StandardCalculator calc(engine, memories, messenger);
  fillManyCalculations(calc, engine);
  for (auto _ : state) benchmark::DoNotOptimize(engine.pressTotal(""));
}
BENCHMARK(BM_TotalOnManyCalculations)->Unit(benchmark::kMicrosecond);

void BM_DrawEveryLine(benchmark::State& state) {
  qz::ScriptedMessenger messenger;
  qz::TapeEngine engine(messenger);
  std::array<double, 10> memories{};
  qz::StandardCalculator calc(engine, memories, messenger);
  fillManyCalculations(calc, engine);
  calc.setVisibleLines(qz::Tape::kCapacity);
  calc.scrollTo(0);
  for (auto _ : state) benchmark::DoNotOptimize(calc.visibleTapeLines());
}
BENCHMARK(BM_DrawEveryLine)->Unit(benchmark::kMillisecond);

void BM_DrawOneScreen(benchmark::State& state) {
  qz::ScriptedMessenger messenger;
  qz::TapeEngine engine(messenger);
  std::array<double, 10> memories{};
  qz::StandardCalculator calc(engine, memories, messenger);
  fillManyCalculations(calc, engine);
  calc.setVisibleLines(30);
  for (auto _ : state) {
    calc.scrollLines(-1);
    benchmark::DoNotOptimize(calc.visibleTapeLines());
  }
}
BENCHMARK(BM_DrawOneScreen)->Unit(benchmark::kMicrosecond);

void BM_ReadAndWriteSection(benchmark::State& state) {
  qz::ScriptedMessenger messenger;
  qz::TapeEngine engine(messenger);
  fillOneCalculation(engine.tape());
  const std::string body = *qz::writeTapeSection(engine.tape());
  qz::Tape tape;
  for (auto _ : state) {
    qz::readTapeSection(body, tape);
    benchmark::DoNotOptimize(qz::writeTapeSection(tape));
  }
}
BENCHMARK(BM_ReadAndWriteSection)->Unit(benchmark::kMillisecond);

}  // namespace
