#pragma once

#include <QString>
#include <functional>

class QTemporaryDir;

// Benchmarks with windows render off screen when there is no display.
// Call before the application object is made.
void renderOffscreenWithoutDisplay();

// Median wall time of `runs` calls, in milliseconds.
double medianMs(int runs, const std::function<void()>& work);

// Prints one line of the report: name, time, and the ratio to a floor.
void report(const QString& name, double ms, double floorMs = 0, const char* basis = "floor");

// Creates a program folder's scratch template/database and one class database
// with a question table of `count` mixed questions; returns the table name.
QString makeBenchFolder(const QString& folder, int count);

// The program's single instances over a bench folder (see makeBenchFolder),
// `drawn` questions drawn for a test run and the session window shown on the
// first of them. closeBenchRun() ends the run and deletes them again.
void openBenchRun(const QString& folder, int drawn);
void closeBenchRun();

// The process's peak resident memory (VmHWM), in MB; resetPeakMemory() starts
// it again from what is resident now, so that a figure leaves out the set-up.
// Where the peak cannot be reset, it is the peak of the whole process.
double peakMemoryMb();
bool resetPeakMemory();
