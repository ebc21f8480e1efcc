#include "session/progress_window.h"

#include <vector>

#include "core/cp1251.h"
#include "core/exceptions.h"

namespace {

const std::vector<std::string>& StepTitles() {
  static const std::vector<std::string> titles = [] {
    const char* const utf8[] = {
        "",
        "Импорт с КПК",
        "     Заказы заголовки",
        "     Заказы строки",
        "     Касса",
        "     Маршруты",
        "     Протоколы работы",
        "     Оплата документов отгрузки",
        "     Анкеты",
        "Экспорт в КПК",
        "     Анкеты",
        "     Справочник видов оплат",
        "     Справочник видов цен",
        "     Справочник валют",
        "     Справочник курсов валют",
        "     Справочник Примечаний 1",
        "     Справочник Примечаний 2",
        "     Справочник покупателей",
        "     Справочник товаров",
        "     Справочник категорий товаров",
        "     Дебеторская задолженность",
        "     Маршруты",
        "     Торговые агенты",
    };
    std::vector<std::string> result;
    for (const char* title : utf8) result.push_back(Ansi(title));
    return result;
  }();
  return titles;
}

}  // namespace

void TProgressBar::SetMax(int max) {
  max_ = max < 0 ? 0 : max;
  if (on_change_) on_change_();
}

void TProgressBar::SetPosition(int position) {
  position_ = position < 0 ? 0 : position;
  if (on_change_) on_change_();
}

void TProgressBar::StepIt() { SetPosition(position_ + 1); }

TfrmProgress::TfrmProgress(std::unique_ptr<TProgressView> view)
    : Caption(Ansi("Обмен данными")), lblUser(Ansi("Имя устройства:")), view_(std::move(view)) {
  ProgressBar.on_change_ = [this] {
    if (view_ && visible_) view_->BarChanged(*this);
  };
}

TfrmProgress::~TfrmProgress() {
  try {
    if (last_marked_row_ != 0) cells_[last_marked_row_][kCountColumn] = std::to_string(ProgressBar.Position());
    if (view_ && visible_) view_->Closed(*this);
  } catch (...) {
    // A view that cannot draw its last picture must not stop the window from closing.
  }
}

void TfrmProgress::SetUserName(const std::string& user_name) { user_name_ = user_name; }

const std::string& TfrmProgress::StepTitle(int row) { return StepTitles().at(row); }

void TfrmProgress::Show() {
  for (int row = 1; row < kRowCount; ++row) cells_[row][kTitleColumn] = StepTitle(row);
  visible_ = true;
  if (view_) view_->Shown(*this);
}

void TfrmProgress::MarkStep(int row) {
  if (row < 2 || row >= kRowCount) throw Exception("Progress step " + std::to_string(row) + " does not exist");
  if (last_marked_row_ != 0) cells_[last_marked_row_][kCountColumn] = std::to_string(ProgressBar.Position());
  cells_[row][kMarkColumn] = "1";
  selected_row_ = row;
  last_marked_row_ = row;
  if (view_ && visible_) view_->StepMarked(*this, row);
}
