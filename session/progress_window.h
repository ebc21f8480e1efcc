// TfrmProgress: the model of the progress window. A grid of 22 step rows (mark, title, record
// count), the user name and a progress bar; a registered view draws it as it changes.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "session/window_views.h"

// The bar of the running step: minimum 0, maximum set by the step, position +1 per record.
class TProgressBar {
 public:
  int Max() const { return max_; }
  void SetMax(int max);
  int Position() const { return position_; }
  void SetPosition(int position);
  void StepIt();

 private:
  friend class TfrmProgress;
  std::function<void()> on_change_;
  int max_ = 100;
  int position_ = 0;
};

class TfrmProgress {
 public:
  static constexpr int kColumnCount = 3;
  static constexpr int kRowCount = 23;  // row 0 is the empty header row
  static constexpr int kMarkColumn = 0;
  static constexpr int kTitleColumn = 1;
  static constexpr int kCountColumn = 2;

  // view may be null: the window then runs unseen.
  explicit TfrmProgress(std::unique_ptr<TProgressView> view = nullptr);
  ~TfrmProgress();
  TfrmProgress(const TfrmProgress&) = delete;
  TfrmProgress& operator=(const TfrmProgress&) = delete;

  const std::string Caption;  // "Обмен данными"
  const std::string lblUser;  // "Имя устройства:"
  const std::string& edtUser() const { return user_name_; }
  void SetUserName(const std::string& user_name);

  // Fills the step titles and shows the window without making it modal.
  void Show();
  bool Visible() const { return visible_; }

  // Marks row (2..22): the count of the step marked before it (the bar's position) goes into
  // that step's row, the row gets the mark "1" and becomes the selected row.
  // Throws Exception for a row outside 2..22.
  void MarkStep(int row);

  const std::string& Cell(int column, int row) const { return cells_.at(row).at(column); }
  bool Marked(int row) const { return Cell(kMarkColumn, row) == "1"; }
  int SelectedRow() const { return selected_row_; }

  TProgressBar ProgressBar;

  // The title of a step row (1..22) in Windows-1251.
  static const std::string& StepTitle(int row);

 private:
  std::unique_ptr<TProgressView> view_;
  std::array<std::array<std::string, kColumnCount>, kRowCount> cells_;
  std::string user_name_;
  bool visible_ = false;
  int selected_row_ = 0;
  int last_marked_row_ = 0;
};
