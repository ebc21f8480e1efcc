// Stands in for the user while a phase runs: answers the session's message boxes with a chosen
// button and records them, with the status texts and the HotSync log lines.
#pragma once

#include <string>
#include <vector>

#include "test_support/shown_message.h"

class TSessionRecorder {
 public:
  // Routes the session's MessageBox, LogLine and StatusText here.
  template <typename TSession>
  void Attach(TSession& session) {
    session.MessageBox = [this](const std::string& text, const std::string& caption, unsigned style) {
      Boxes.push_back({text, caption, style});
      return Answer;
    };
    session.LogLine = [this](const std::string& text, int activity) { Log.push_back({text, activity}); };
    session.StatusText = [this](const std::string& text) { Status.push_back(text); };
  }

  // The log lines' texts, in order.
  std::vector<std::string> LogTexts() const {
    std::vector<std::string> texts;
    for (const TLoggedLine& line : Log) texts.push_back(line.Text);
    return texts;
  }

  // The log lines' activities, in order.
  std::vector<int> LogActivities() const {
    std::vector<int> activities;
    for (const TLoggedLine& line : Log) activities.push_back(line.Activity);
    return activities;
  }

  int Answer = 1;  // IDOK
  std::vector<ShownMessage> Boxes;
  std::vector<TLoggedLine> Log;
  std::vector<std::string> Status;
};
