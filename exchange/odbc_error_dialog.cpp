#include "exchange/odbc_error_dialog.h"

#include "exchange/odbc_error.h"

void TmODBCErrorDlg::Load(const ESQLerror& error) {
  has_records_ = !error.Records.empty();
  texts_ = has_records_ ? error.Records : std::vector<std::string>{error.what()};
  current_ = 0;
}

void TmODBCErrorDlg::Back() {
  if (BackEnabled()) --current_;
}

void TmODBCErrorDlg::Next() {
  if (NextEnabled()) ++current_;
}

void TmODBCErrorDlg::HandleException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const ESQLerror& sql_error) {
    if (showing_ || ApplicationClosing || View == nullptr) return;
    Load(sql_error);
    showing_ = true;
    View->ShowModal(*this);
    showing_ = false;
  } catch (...) {
    if (PreviousHandler) {
      PreviousHandler(std::current_exception());
      return;
    }
    if (!StandardExceptionBox) return;
    try {
      throw;
    } catch (const std::exception& other) {
      StandardExceptionBox(other.what());
    } catch (...) {
      StandardExceptionBox("Unknown exception");
    }
  }
}
