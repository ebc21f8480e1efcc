// TfrmSetting: the model of the settings dialog: its controls with their captions and states,
// the rules that tie them together (one format button, ODBC list shown only for dBase output).
#pragma once

#include <string>
#include <vector>

#include "session/settings_file.h"
#include "session/window_views.h"

struct TControl {
  std::string Name;
  std::string Caption;  // Windows-1251
  bool Visible = true;
  bool Enabled = true;
};

struct TCheckBox : TControl {
  bool Checked = false;
};

struct TRadioButton : TControl {
  bool Checked = false;
};

struct TEdit : TControl {
  std::string Text;
};

// A drop-down list without free text.
struct TComboBox : TControl {
  std::vector<std::string> Items;
  int ItemIndex = -1;
  // The selected item, or empty text when none is selected.
  std::string Text() const;
};

struct TButton : TControl {
  TModalResult ModalResult = TModalResult::None;
};

class TfrmSetting {
 public:
  TfrmSetting();
  TfrmSetting(const TfrmSetting&) = delete;
  TfrmSetting& operator=(const TfrmSetting&) = delete;

  std::string Caption;  // "Параметры обмена данными"
  TCheckBox chbSortCategory;
  TControl rgFormat;
  TRadioButton rbTXT;
  TRadioButton rbXML;
  TRadioButton rbDBF;  // shown, never chosen by the user
  TRadioButton rbTXTDBF;
  TButton Button1;  // "OK"
  TButton Button2;  // "Отмена"
  TComboBox cmbODBCName;
  TControl lblODBC;
  TControl Panel2;  // caption strip "Запуск внешних программ"
  TControl Panel1;
  TControl lblStartFileName;
  TEdit edtStartFileName;
  TButton btnStart;
  TControl lblStopFileName;
  TEdit edtStopFileName;
  TButton btnStop;
  // Offers the file chooser of the two Browse buttons; without it they do nothing.
  TSettingsDialogView* View = nullptr;

  // Checks one of the four format buttons and clears the others, then refreshes.
  void CheckFormatButton(TRadioButton& button);
  // The user's click: ignored for a disabled button.
  void ClickFormatButton(TRadioButton& button);
  // lblODBC and cmbODBCName visible exactly when rbDBF or rbTXTDBF is checked.
  void Refresh();
  // Selects the item equal to name ignoring case; no selection when none matches.
  void SelectODBCDriver(const std::string& name);

  // Puts settings into the controls (format button, check box, list, the two fields).
  void Load(const TSessionSettings& settings);
  // Takes the controls back into settings; the format stays when no button is checked.
  void Store(TSessionSettings& settings) const;

  // btnStart and btnStop: the chooser opens at the field's directory with the field's text as
  // the file name; a confirmed choice replaces the field's text.
  void BrowseStart() { Browse(edtStartFileName); }
  void BrowseStop() { Browse(edtStopFileName); }

  // The controls that take the focus, in tab order.
  std::vector<TControl*> TabOrder();

  TModalResult ModalResult = TModalResult::None;

 private:
  void Browse(TEdit& edit);
};
