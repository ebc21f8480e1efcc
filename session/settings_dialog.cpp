#include "session/settings_dialog.h"

#include "core/collation.h"
#include "core/cp1251.h"
#include "session/path_text.h"

namespace {

TControl Control(const char* name, const std::string& caption) {
  TControl control;
  control.Name = name;
  control.Caption = caption;
  return control;
}

template <typename T>
T Make(const char* name, const std::string& caption) {
  T control;
  static_cast<TControl&>(control) = Control(name, caption);
  return control;
}

}  // namespace

std::string TComboBox::Text() const {
  if (ItemIndex < 0 || ItemIndex >= static_cast<int>(Items.size())) return {};
  return Items[ItemIndex];
}

TfrmSetting::TfrmSetting()
    : Caption(Ansi("Параметры обмена данными")),
      chbSortCategory(Make<TCheckBox>("chbSortCategory", Ansi("Сортировать справочник категорий "))),
      rgFormat(Control("rgFormat", Ansi("Формат файлов обмена"))),
      rbTXT(Make<TRadioButton>("rbTXT", "TXT")),
      rbXML(Make<TRadioButton>("rbXML", "XML")),
      rbDBF(Make<TRadioButton>("rbDBF", "DBF")),
      rbTXTDBF(Make<TRadioButton>("rbTXTDBF", "TXT Input - DBF Output")),
      Button1(Make<TButton>("Button1", "OK")),
      Button2(Make<TButton>("Button2", Ansi("Отмена"))),
      cmbODBCName(Make<TComboBox>("cmbODBCName", "")),
      lblODBC(Control("lblODBC", Ansi("Имя ODBC драйвера"))),
      Panel2(Control("Panel2", Ansi("Запуск внешних программ"))),
      Panel1(Control("Panel1", "")),
      lblStartFileName(Control("lblStartFileName", Ansi("Перед сеансом обмена "))),
      edtStartFileName(Make<TEdit>("edtStartFileName", "")),
      btnStart(Make<TButton>("btnStart", "...")),
      lblStopFileName(Control("lblStopFileName", Ansi("После сеанса обмена"))),
      edtStopFileName(Make<TEdit>("edtStopFileName", "")),
      btnStop(Make<TButton>("btnStop", "...")) {
  rbDBF.Enabled = false;
  Button1.ModalResult = TModalResult::OK;
  Button2.ModalResult = TModalResult::Cancel;
  cmbODBCName.Items = {"Microsoft FoxPro VFP Driver (*.dbf)", "Microsoft dBase Driver (*.dbf)",
                       "Microsoft dBase-Treiber (*.dbf)"};
  Refresh();
}

void TfrmSetting::CheckFormatButton(TRadioButton& button) {
  for (TRadioButton* each : {&rbTXT, &rbXML, &rbDBF, &rbTXTDBF}) each->Checked = each == &button;
  Refresh();
}

void TfrmSetting::ClickFormatButton(TRadioButton& button) {
  if (button.Enabled) CheckFormatButton(button);
}

void TfrmSetting::Refresh() {
  const bool dbase_output = rbDBF.Checked || rbTXTDBF.Checked;
  lblODBC.Visible = dbase_output;
  cmbODBCName.Visible = dbase_output;
}

void TfrmSetting::SelectODBCDriver(const std::string& name) {
  cmbODBCName.ItemIndex = -1;
  for (size_t i = 0; i < cmbODBCName.Items.size(); ++i) {
    if (SameText(cmbODBCName.Items[i], name)) {
      cmbODBCName.ItemIndex = static_cast<int>(i);
      return;
    }
  }
}

void TfrmSetting::Load(const TSessionSettings& settings) {
  switch (settings.ExchangeFormat) {
    case TExchangeFormat::DBF:
      CheckFormatButton(rbDBF);
      break;
    case TExchangeFormat::XML:
      CheckFormatButton(rbXML);
      break;
    case TExchangeFormat::TXT:
      CheckFormatButton(rbTXT);
      break;
    case TExchangeFormat::TXTINDBFOUT:
      CheckFormatButton(rbTXTDBF);
      break;
  }
  chbSortCategory.Checked = settings.SortCategories;
  Refresh();
  SelectODBCDriver(settings.ODBCDriverName);
  edtStartFileName.Text = settings.StartFileName;
  edtStopFileName.Text = settings.StopFileName;
}

void TfrmSetting::Store(TSessionSettings& settings) const {
  if (rbDBF.Checked)
    settings.ExchangeFormat = TExchangeFormat::DBF;
  else if (rbTXT.Checked)
    settings.ExchangeFormat = TExchangeFormat::TXT;
  else if (rbXML.Checked)
    settings.ExchangeFormat = TExchangeFormat::XML;
  else if (rbTXTDBF.Checked)
    settings.ExchangeFormat = TExchangeFormat::TXTINDBFOUT;
  settings.StartFileName = edtStartFileName.Text;
  settings.StopFileName = edtStopFileName.Text;
  settings.SortCategories = chbSortCategory.Checked;
  settings.ODBCDriverName = cmbODBCName.Text();
}

std::vector<TControl*> TfrmSetting::TabOrder() {
  std::vector<TControl*> order = {&chbSortCategory,  &rbTXT,    &rbXML,           &rbDBF,   &rbTXTDBF, &cmbODBCName,
                                  &edtStartFileName, &btnStart, &edtStopFileName, &btnStop, &Button1,  &Button2};
  std::erase_if(order, [](const TControl* control) { return !control->Visible || !control->Enabled; });
  return order;
}

void TfrmSetting::Browse(TEdit& edit) {
  if (View == nullptr) return;
  if (auto chosen = View->ChooseFile(DirectoryOf(edit.Text), edit.Text)) edit.Text = std::move(*chosen);
}
