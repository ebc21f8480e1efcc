#include "ui/settings_dialog_screen.h"

#include <curses.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "session/settings_dialog.h"
#include "ui/curses_screen.h"
#include "ui/file_chooser.h"
#include "ui/wide_text.h"

namespace {

constexpr int kLeft = 2;
constexpr int kFieldColumn = 26;
constexpr int kKeyEscape = 27;
constexpr int kKeyTab = 9;

// A text field while it is being edited: wide characters and the cursor between them.
struct TFieldEditor {
  std::wstring text;
  size_t cursor = 0;
};

class TDialogForm {
 public:
  explicit TDialogForm(TfrmSetting& dialog) : dialog_(dialog) {
    focus_ = dialog_.TabOrder().front();
    for (TEdit* edit : {&dialog_.edtStartFileName, &dialog_.edtStopFileName}) {
      TFieldEditor& editor = editors_[edit];
      editor.text = ToWide(edit->Text);
      editor.cursor = editor.text.size();
    }
  }

  TModalResult Run() {
    while (dialog_.ModalResult == TModalResult::None) {
      Draw();
      wint_t key = 0;
      const int kind = get_wch(&key);
      if (kind == ERR) continue;
      HandleKey(kind == KEY_CODE_YES, key);
    }
    return dialog_.ModalResult;
  }

 private:
  int FieldWidth() const { return std::max(COLS - kFieldColumn - 8, 10); }

  void Put(int row, int column, const std::string& text, attr_t attributes = A_NORMAL) {
    attron(attributes);
    mvaddstr(row, column, text.c_str());
    attroff(attributes);
  }

  attr_t FocusAttributes(const TControl& control) const {
    attr_t attributes = &control == focus_ ? A_REVERSE : A_NORMAL;
    if (!control.Enabled) attributes |= A_DIM;
    return attributes;
  }

  void DrawRadio(int row, TRadioButton& button) {
    Put(row, kLeft + 2, button.Checked ? "(*) " : "( ) ", button.Enabled ? A_NORMAL : A_DIM);
    Put(row, kLeft + 6, ScreenText(button.Caption), FocusAttributes(button));
  }

  void DrawField(int row, TControl& label, TEdit& edit, TButton& browse) {
    Put(row, kLeft, ScreenText(label.Caption));
    const TFieldEditor& editor = editors_[&edit];
    const int width = FieldWidth();
    const size_t first = editor.cursor >= static_cast<size_t>(width) ? editor.cursor - width + 1 : 0;
    std::wstring shown = editor.text.substr(first, width);
    shown.resize(width, L'_');
    for (wchar_t& character : shown)
      if (character >= 0xDC00 && character < 0xDD00) character = L'?';
    if (&edit == focus_) attron(A_BOLD);
    mvaddwstr(row, kFieldColumn, shown.c_str());
    if (&edit == focus_) attroff(A_BOLD);
    Put(row, kFieldColumn + width + 1, "[" + browse.Caption + "]", FocusAttributes(browse));
    if (&edit == focus_) cursor_ = {row, kFieldColumn + static_cast<int>(editor.cursor - first)};
  }

  void Draw() {
    erase();
    cursor_ = {-1, -1};
    const std::string caption = " " + ScreenText(dialog_.Caption) + " ";
    Put(0, 0, std::string(COLS, ' '), A_REVERSE);
    Put(0, kLeft, caption, A_REVERSE | A_BOLD);

    Put(2, kLeft, dialog_.chbSortCategory.Checked ? "[x] " : "[ ] ");
    Put(2, kLeft + 4, ScreenText(dialog_.chbSortCategory.Caption), FocusAttributes(dialog_.chbSortCategory));

    mvhline(4, kLeft, ACS_HLINE, 40);
    mvhline(9, kLeft, ACS_HLINE, 40);
    Put(4, kLeft + 2, " " + ScreenText(dialog_.rgFormat.Caption) + " ");
    DrawRadio(5, dialog_.rbTXT);
    DrawRadio(6, dialog_.rbXML);
    DrawRadio(7, dialog_.rbDBF);
    DrawRadio(8, dialog_.rbTXTDBF);

    if (dialog_.lblODBC.Visible) Put(11, kLeft, ScreenText(dialog_.lblODBC.Caption));
    if (dialog_.cmbODBCName.Visible) {
      std::string item = dialog_.cmbODBCName.Text();
      item.resize(40, ' ');
      Put(12, kLeft, "< " + item + " >", FocusAttributes(dialog_.cmbODBCName));
    }

    Put(14, 0, std::string(COLS, ' '), A_REVERSE);
    Put(14, kLeft, ScreenText(dialog_.Panel2.Caption), A_REVERSE);
    DrawField(16, dialog_.lblStartFileName, dialog_.edtStartFileName, dialog_.btnStart);
    DrawField(18, dialog_.lblStopFileName, dialog_.edtStopFileName, dialog_.btnStop);

    Put(20, kLeft + 10, "[ " + ScreenText(dialog_.Button1.Caption) + " ]", FocusAttributes(dialog_.Button1));
    Put(20, kLeft + 22, "[ " + ScreenText(dialog_.Button2.Caption) + " ]", FocusAttributes(dialog_.Button2));

    if (cursor_.first >= 0) {
      curs_set(1);
      move(cursor_.first, cursor_.second);
    } else {
      curs_set(0);
    }
    refresh();
  }

  void MoveFocus(int step) {
    const std::vector<TControl*> order = dialog_.TabOrder();
    auto at = std::find(order.begin(), order.end(), focus_);
    const int count = static_cast<int>(order.size());
    const int index = at == order.end() ? 0 : static_cast<int>(at - order.begin());
    focus_ = order[(index + step + count) % count];
  }

  TEdit* FocusedEdit() {
    for (TEdit* edit : {&dialog_.edtStartFileName, &dialog_.edtStopFileName})
      if (focus_ == edit) return edit;
    return nullptr;
  }

  void Act() {
    if (focus_ == &dialog_.chbSortCategory) {
      dialog_.chbSortCategory.Checked = !dialog_.chbSortCategory.Checked;
    } else if (focus_ == &dialog_.cmbODBCName) {
      StepList(1);
    } else if (focus_ == &dialog_.btnStart || focus_ == &dialog_.btnStop) {
      const bool start = focus_ == &dialog_.btnStart;
      TEdit& edit = start ? dialog_.edtStartFileName : dialog_.edtStopFileName;
      edit.Text = FromWide(editors_[&edit].text);
      start ? dialog_.BrowseStart() : dialog_.BrowseStop();
      editors_[&edit] = {ToWide(edit.Text), ToWide(edit.Text).size()};
    } else if (focus_ == &dialog_.Button1 || focus_ == &dialog_.Button2) {
      Close(static_cast<TButton*>(focus_)->ModalResult);
    } else {
      for (TRadioButton* button : {&dialog_.rbTXT, &dialog_.rbXML, &dialog_.rbDBF, &dialog_.rbTXTDBF})
        if (focus_ == button) dialog_.ClickFormatButton(*button);
    }
  }

  void StepList(int step) {
    TComboBox& list = dialog_.cmbODBCName;
    const int count = static_cast<int>(list.Items.size());
    list.ItemIndex = list.ItemIndex < 0 ? 0 : (list.ItemIndex + step + count) % count;
  }

  void Close(TModalResult result) {
    for (auto& [edit, editor] : editors_) edit->Text = FromWide(editor.text);
    dialog_.ModalResult = result;
  }

  bool EditKey(bool function_key, wint_t key) {
    TEdit* edit = FocusedEdit();
    if (edit == nullptr) return false;
    TFieldEditor& editor = editors_[edit];
    if (function_key) {
      switch (key) {
        case KEY_LEFT:
          if (editor.cursor > 0) --editor.cursor;
          return true;
        case KEY_RIGHT:
          if (editor.cursor < editor.text.size()) ++editor.cursor;
          return true;
        case KEY_HOME:
          editor.cursor = 0;
          return true;
        case KEY_END:
          editor.cursor = editor.text.size();
          return true;
        case KEY_BACKSPACE:
          if (editor.cursor > 0) editor.text.erase(--editor.cursor, 1);
          return true;
        case KEY_DC:
          if (editor.cursor < editor.text.size()) editor.text.erase(editor.cursor, 1);
          return true;
        default:
          return false;
      }
    }
    if (key == 127 || key == 8) {
      if (editor.cursor > 0) editor.text.erase(--editor.cursor, 1);
      return true;
    }
    if (key >= 32 && key != 127) {
      editor.text.insert(editor.cursor++, 1, static_cast<wchar_t>(key));
      return true;
    }
    return false;
  }

  void HandleKey(bool function_key, wint_t key) {
    if (EditKey(function_key, key)) return;
    const bool on_list = focus_ == &dialog_.cmbODBCName;
    if (function_key) {
      switch (key) {
        case KEY_BTAB:
          MoveFocus(-1);
          break;
        case KEY_UP:
          on_list ? StepList(-1) : MoveFocus(-1);
          break;
        case KEY_DOWN:
          on_list ? StepList(1) : MoveFocus(1);
          break;
        case KEY_LEFT:
          if (on_list) StepList(-1);
          break;
        case KEY_RIGHT:
          if (on_list) StepList(1);
          break;
        case KEY_ENTER:
          FocusedEdit() ? MoveFocus(1) : Act();
          break;
        default:
          break;
      }
      return;
    }
    switch (key) {
      case kKeyTab:
        MoveFocus(1);
        break;
      case kKeyEscape:
        Close(TModalResult::Cancel);
        break;
      case '\n':
      case '\r':
        FocusedEdit() ? MoveFocus(1) : Act();
        break;
      case ' ':
        Act();
        break;
      default:
        break;
    }
  }

  TfrmSetting& dialog_;
  TControl* focus_;
  std::map<TEdit*, TFieldEditor> editors_;
  std::pair<int, int> cursor_{-1, -1};
};

}  // namespace

TModalResult TCursesSettingsDialog::ShowModal(TfrmSetting& dialog) {
  try {
    TCursesScreen screen;
    dialog.ModalResult = TModalResult::None;
    return TDialogForm(dialog).Run();
  } catch (const ETerminalError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return TModalResult::Cancel;
  }
}

std::optional<std::string> TCursesSettingsDialog::ChooseFile(const std::string& initial_directory,
                                                             const std::string& initial_name) {
  if (TCursesScreen::Active()) return RunFileChooser(initial_directory, initial_name);
  TCursesScreen screen;
  return RunFileChooser(initial_directory, initial_name);
}
