#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "core/cp1251.h"
#include "session/progress_window.h"
#include "ui/plain_progress_view.h"
#include "ui/progress_lines.h"

namespace {

// Everything a plain view writes, read back after the window has closed.
class CapturedOutput {
 public:
  CapturedOutput() : file_(open_memstream(&buffer_, &size_)) {}
  ~CapturedOutput() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(buffer_);
  }
  std::FILE* File() { return file_; }
  std::string Text() {
    std::fflush(file_);
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  std::FILE* file_;
};

void RunStep(TfrmProgress& window, int row, int records) {
  window.MarkStep(row);
  window.ProgressBar.SetMax(records);
  window.ProgressBar.SetPosition(0);
  for (int i = 0; i < records; ++i) window.ProgressBar.StepIt();
}

TEST(PlainProgressViewTest, WritesOneLinePerMarkedStepWithItsCount) {
  CapturedOutput output;
  {
    TfrmProgress window(std::make_unique<TPlainProgressView>(output.File()));
    window.SetUserName(Ansi("Агент 7"));
    window.Show();
    RunStep(window, 2, 4);
    RunStep(window, 3, 12);
    RunStep(window, 11, 0);
    RunStep(window, 17, 250);
  }
  EXPECT_EQ(output.Text(),
            "Обмен данными. Имя устройства: Агент 7\n"
            "     Заказы заголовки: 4\n"
            "     Заказы строки: 12\n"
            "     Справочник видов оплат: 0\n"
            "     Справочник покупателей: 250\n");
}

TEST(PlainProgressViewTest, AWindowLeftAfterTheChecksWritesOnlyItsHeading) {
  CapturedOutput output;
  {
    TfrmProgress window(std::make_unique<TPlainProgressView>(output.File()));
    window.SetUserName("A");
    window.Show();
  }
  EXPECT_EQ(output.Text(), "Обмен данными. Имя устройства: A\n");
}

TEST(ProgressLinesTest, GridLinesKeepTheirWidthWithCyrillicTitles) {
  TfrmProgress window(nullptr);
  window.Show();
  RunStep(window, 13, 7);
  RunStep(window, 14, 1);
  const std::string line = GridLine(window, 13, 60, "v");
  EXPECT_EQ(TextColumns(line), 60);
  EXPECT_EQ(line.substr(0, 4), " v  ");
  EXPECT_EQ(line.substr(line.size() - 8), "       7");
  EXPECT_EQ(TextColumns(GridLine(window, 20, 20, "v")), 20);
}

TEST(ProgressLinesTest, TheBarFillsInProportionAndNeverOverflows) {
  TfrmProgress window(nullptr);
  window.ProgressBar.SetMax(4);
  window.ProgressBar.SetPosition(1);
  EXPECT_EQ(BarLine(window, 16), "[##........] 1/4");
  window.ProgressBar.SetPosition(9);
  EXPECT_EQ(FilledCells(window, 10), 10);
  window.ProgressBar.SetMax(0);
  EXPECT_EQ(FilledCells(window, 10), 0);
}

}  // namespace
