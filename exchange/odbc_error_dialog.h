// TmODBCErrorDlg: the model of the "ODBC Error" dialog. It shows an ESQLerror's diagnostic
// records one at a time with Back / Next / OK, and handles exceptions nobody else caught.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

class ESQLerror;
class TmODBCErrorDlg;

// Draws the dialog modally and drives its buttons until OK closes it.
class TOdbcErrorDialogView {
 public:
  virtual ~TOdbcErrorDialogView() = default;
  virtual void ShowModal(TmODBCErrorDlg& dialog) = 0;
};

class TmODBCErrorDlg {
 public:
  using TExceptionHandler = std::function<void(std::exception_ptr)>;

  const std::string Caption = "ODBC Error";

  // Loads the error: its records (or, without records, its message), the first one current.
  void Load(const ESQLerror& error);
  // The text of the word-wrapped label: the current record.
  const std::string& LabelText() const { return texts_.at(current_); }
  bool BackEnabled() const { return current_ > 0; }
  bool NextEnabled() const { return has_records_ && current_ + 1 < texts_.size(); }
  // "Next >" is the default button.
  bool NextIsDefault() const { return true; }
  void Back();
  void Next();
  void OK() { showing_ = false; }
  bool Showing() const { return showing_; }

  // The application-wide handler of an exception nobody caught: an ESQLerror is shown modally
  // through the view (unless one is already on show or the application is closing); anything
  // else goes to the previous handler, or to the standard box when there is none.
  void HandleException(std::exception_ptr error);
  TOdbcErrorDialogView* View = nullptr;
  TExceptionHandler PreviousHandler;
  std::function<void(const std::string& text)> StandardExceptionBox;
  bool ApplicationClosing = false;

 private:
  std::vector<std::string> texts_{""};
  size_t current_ = 0;
  bool has_records_ = false;
  bool showing_ = false;
};
