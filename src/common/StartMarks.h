#pragma once

class QWidget;

// For the start-up benchmark: with TARNWICK_START_LOG naming a file, the program writes a
// line there as it reaches each stage of its start ("main", "toolkit", "window", "loaded",
// "shown"), each with the system's monotonic clock in nanoseconds. Without it nothing is
// written.
void NoteStartStage(const char* stage);

// Notes `stage` once, when `widget` has been painted for the first time.
void NoteStageWhenPainted(QWidget& widget, const char* stage);
