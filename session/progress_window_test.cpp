#include "session/progress_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/cp1251.h"
#include "core/exceptions.h"

namespace {

// A step as the exchange runs it: mark the row, reset the bar, one step per record.
void RunStep(TfrmProgress& window, int row, int records) {
  window.MarkStep(row);
  window.ProgressBar.SetMax(records);
  window.ProgressBar.SetPosition(0);
  for (int i = 0; i < records; ++i) window.ProgressBar.StepIt();
}

TEST(ProgressWindowTest, ShowsTheStepTitlesAndTheUserName) {
  TfrmProgress window(nullptr);
  window.SetUserName("Agent 7");
  window.Show();
  EXPECT_EQ(window.Caption, Ansi("Обмен данными"));
  EXPECT_EQ(window.lblUser, Ansi("Имя устройства:"));
  EXPECT_EQ(window.edtUser(), "Agent 7");
  EXPECT_EQ(window.Cell(1, 0), "");
  EXPECT_EQ(window.Cell(1, 1), Ansi("Импорт с КПК"));
  EXPECT_EQ(window.Cell(1, 2), Ansi("     Заказы заголовки"));
  EXPECT_EQ(window.Cell(1, 7), Ansi("     Оплата документов отгрузки"));
  EXPECT_EQ(window.Cell(1, 9), Ansi("Экспорт в КПК"));
  EXPECT_EQ(window.Cell(1, 20), Ansi("     Дебеторская задолженность"));
  EXPECT_EQ(window.Cell(1, 22), Ansi("     Торговые агенты"));
  for (int row = 0; row < TfrmProgress::kRowCount; ++row) EXPECT_FALSE(window.Marked(row));
}

TEST(ProgressWindowTest, EachStepsCountLandsInItsOwnRow) {
  TfrmProgress window(nullptr);
  window.Show();
  int records = 1;
  for (int row : {2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17}) RunStep(window, row, records++);
  EXPECT_EQ(window.Cell(2, 2), "1");
  EXPECT_EQ(window.Cell(2, 8), "7");
  EXPECT_EQ(window.Cell(2, 9), "");     // the heading shows no count
  EXPECT_EQ(window.Cell(2, 12), "10");  // price types keep their count
  EXPECT_EQ(window.Cell(2, 13), "11");  // currencies show theirs
  EXPECT_EQ(window.Cell(2, 16), "14");  // note list 2
  EXPECT_EQ(window.Cell(2, 17), "");    // the running step
  for (int row = 2; row <= 17; ++row) EXPECT_EQ(window.Marked(row), row != 9) << row;
  EXPECT_FALSE(window.Marked(1));
  EXPECT_EQ(window.SelectedRow(), 17);
}

TEST(ProgressWindowTest, ASkippedStepShowsNeitherMarkNorCount) {
  TfrmProgress window(nullptr);
  window.Show();
  RunStep(window, 14, 5);
  RunStep(window, 16, 3);  // note list 1 (row 15) had no file
  EXPECT_FALSE(window.Marked(15));
  EXPECT_EQ(window.Cell(2, 15), "");
  EXPECT_EQ(window.Cell(2, 14), "5");
}

TEST(ProgressWindowTest, RejectsRowsOutsideTheStepList) {
  TfrmProgress window(nullptr);
  EXPECT_THROW(window.MarkStep(1), Exception);
  EXPECT_THROW(window.MarkStep(23), Exception);
}

class RecordingView : public TProgressView {
 public:
  explicit RecordingView(std::vector<std::string>& events) : events_(events) {}
  void Shown(const TfrmProgress&) override { events_.push_back("shown"); }
  void StepMarked(const TfrmProgress&, int row) override { events_.push_back("mark " + std::to_string(row)); }
  void BarChanged(const TfrmProgress& window) override {
    events_.push_back("bar " + std::to_string(window.ProgressBar.Position()));
  }
  void Closed(const TfrmProgress& window) override {
    events_.push_back("closed " + window.Cell(2, window.SelectedRow()));
  }

 private:
  std::vector<std::string>& events_;
};

TEST(ProgressWindowTest, TellsItsViewOfEveryChangeAndTheLastCountOnClosing) {
  std::vector<std::string> events;
  {
    TfrmProgress window(std::make_unique<RecordingView>(events));
    window.ProgressBar.SetPosition(9);  // not shown yet: nothing to draw
    window.Show();
    window.MarkStep(2);
    window.ProgressBar.SetPosition(0);
    window.ProgressBar.StepIt();
    window.ProgressBar.StepIt();
  }
  EXPECT_EQ(events, (std::vector<std::string>{"shown", "mark 2", "bar 0", "bar 1", "bar 2", "closed 2"}));
}

}  // namespace
