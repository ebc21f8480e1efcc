#include "session/settings_dialog.h"

#include <gtest/gtest.h>

#include "core/cp1251.h"

namespace {

TSessionSettings SettingsWith(TExchangeFormat format) {
  TSessionSettings settings;
  settings.ExchangeFormat = format;
  return settings;
}

TEST(SettingsDialogTest, HasTheCaptionsAndADisabledDbfButton) {
  TfrmSetting dialog;
  EXPECT_EQ(dialog.Caption, Ansi("Параметры обмена данными"));
  EXPECT_EQ(dialog.chbSortCategory.Caption, Ansi("Сортировать справочник категорий "));
  EXPECT_EQ(dialog.rgFormat.Caption, Ansi("Формат файлов обмена"));
  EXPECT_EQ(dialog.rbTXTDBF.Caption, "TXT Input - DBF Output");
  EXPECT_EQ(dialog.Button2.Caption, Ansi("Отмена"));
  EXPECT_EQ(dialog.lblODBC.Caption, Ansi("Имя ODBC драйвера"));
  EXPECT_EQ(dialog.Panel2.Caption, Ansi("Запуск внешних программ"));
  EXPECT_EQ(dialog.lblStartFileName.Caption, Ansi("Перед сеансом обмена "));
  EXPECT_EQ(dialog.lblStopFileName.Caption, Ansi("После сеанса обмена"));
  EXPECT_FALSE(dialog.rbDBF.Enabled);
  EXPECT_EQ(dialog.cmbODBCName.Items.size(), 3u);
}

TEST(SettingsDialogTest, OdbcControlsShowOnlyForDbaseOutput) {
  TfrmSetting dialog;
  dialog.Load(SettingsWith(TExchangeFormat::XML));
  EXPECT_TRUE(dialog.rbXML.Checked);
  EXPECT_FALSE(dialog.cmbODBCName.Visible);
  EXPECT_FALSE(dialog.lblODBC.Visible);

  dialog.ClickFormatButton(dialog.rbTXTDBF);
  EXPECT_TRUE(dialog.cmbODBCName.Visible);
  EXPECT_TRUE(dialog.lblODBC.Visible);
  EXPECT_FALSE(dialog.rbXML.Checked);
  dialog.ClickFormatButton(dialog.rbTXT);
  EXPECT_FALSE(dialog.cmbODBCName.Visible);

  TfrmSetting dbf;
  dbf.Load(SettingsWith(TExchangeFormat::DBF));
  EXPECT_TRUE(dbf.rbDBF.Checked);
  EXPECT_TRUE(dbf.cmbODBCName.Visible);
}

TEST(SettingsDialogTest, TheUserCannotChooseDbfButItStaysWhenLoaded) {
  TfrmSetting dialog;
  dialog.Load(SettingsWith(TExchangeFormat::TXT));
  dialog.ClickFormatButton(dialog.rbDBF);
  EXPECT_TRUE(dialog.rbTXT.Checked);
  EXPECT_FALSE(dialog.rbDBF.Checked);

  TfrmSetting loaded;
  loaded.Load(SettingsWith(TExchangeFormat::DBF));
  TSessionSettings stored = SettingsWith(TExchangeFormat::XML);
  loaded.Store(stored);
  EXPECT_EQ(stored.ExchangeFormat, TExchangeFormat::DBF);
}

TEST(SettingsDialogTest, DriverNamesAreFoundIgnoringCaseAndUnknownOnesStoreEmpty) {
  TfrmSetting dialog;
  TSessionSettings settings = SettingsWith(TExchangeFormat::TXTINDBFOUT);
  settings.ODBCDriverName = "microsoft dbase-treiber (*.DBF)";
  dialog.Load(settings);
  EXPECT_EQ(dialog.cmbODBCName.ItemIndex, 2);
  EXPECT_EQ(dialog.cmbODBCName.Text(), "Microsoft dBase-Treiber (*.dbf)");

  settings.ODBCDriverName = "Some Other Driver";
  dialog.Load(settings);
  EXPECT_EQ(dialog.cmbODBCName.ItemIndex, -1);
  dialog.Store(settings);
  EXPECT_EQ(settings.ODBCDriverName, "");
}

TEST(SettingsDialogTest, TabOrderSkipsHiddenAndDisabledControls) {
  TfrmSetting dialog;
  dialog.Load(SettingsWith(TExchangeFormat::TXT));
  std::vector<std::string> names;
  for (const TControl* control : dialog.TabOrder()) names.push_back(control->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"chbSortCategory", "rbTXT", "rbXML", "rbTXTDBF", "edtStartFileName",
                                             "btnStart", "edtStopFileName", "btnStop", "Button1", "Button2"}));
}

class ChooserView : public TSettingsDialogView {
 public:
  TModalResult ShowModal(TfrmSetting&) override { return TModalResult::Cancel; }
  std::optional<std::string> ChooseFile(const std::string& directory, const std::string& name) override {
    asked_directory = directory;
    asked_name = name;
    return answer;
  }
  std::string asked_directory;
  std::string asked_name;
  std::optional<std::string> answer;
};

TEST(SettingsDialogTest, BrowseOpensAtTheFieldsDirectoryAndKeepsTheTextOnCancel) {
  ChooserView view;
  TfrmSetting dialog;
  dialog.View = &view;
  dialog.edtStartFileName.Text = "/opt/tools/before.sh";
  view.answer = "/usr/local/bin/sync-before";
  dialog.BrowseStart();
  EXPECT_EQ(view.asked_directory, "/opt/tools");
  EXPECT_EQ(view.asked_name, "/opt/tools/before.sh");
  EXPECT_EQ(dialog.edtStartFileName.Text, "/usr/local/bin/sync-before");

  view.answer.reset();
  dialog.BrowseStop();
  EXPECT_EQ(view.asked_directory, "");
  EXPECT_EQ(dialog.edtStopFileName.Text, "");
}

}  // namespace
