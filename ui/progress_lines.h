// The texts of the progress window as the terminal shows them: caption and user line, one step
// row (mark, title, count) and the bar, converted to the terminal's encoding.
#pragma once

#include <string>

#include "session/progress_window.h"

// "Обмен данными. Имя устройства: <user>".
std::string ProgressHeading(const TfrmProgress& window);
// "<title>: <count>" for a row whose count is known, the title alone otherwise.
std::string StepLine(const TfrmProgress& window, int row);
// A row of the grid, width columns wide: mark cell, title, count aligned right.
std::string GridLine(const TfrmProgress& window, int row, int width, const std::string& check_mark);
// "[#####.....] position/max", width columns wide.
std::string BarLine(const TfrmProgress& window, int width);
// How many of width cells the bar fills.
int FilledCells(const TfrmProgress& window, int width);
// Columns a UTF-8 text takes (one per character).
int TextColumns(const std::string& utf8);
