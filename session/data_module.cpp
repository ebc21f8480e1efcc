#include "session/data_module.h"

#include <cstring>

#include "conduit/desktop_libraries.h"
#include "conduit/sync_error.h"
#include "core/cp1251.h"
#include "core/exceptions.h"
#include "core/file_lookup.h"
#include "session/external_program.h"
#include "session/path_text.h"

namespace {

constexpr int kLogProgress = 19;
constexpr int kLogClosing = 20;
constexpr int kLogError = 21;

// A zero-terminated text of a fixed-size record field; a field without its zero ends at its size.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// The Sync Manager registration of one session, undone exactly once.
class TSyncRegistration {
 public:
  TSyncRegistration() {
    const auto register_conduit = Desktop().Sync.RegisterConduit;
    if (register_conduit == nullptr) throw Exception("The Sync Manager library is not bound");
    CheckSyncResult(register_conduit(&handle_));
    registered_ = true;
  }
  ~TSyncRegistration() {
    if (registered_) Desktop().Sync.UnRegisterConduit(handle_);
  }
  TSyncRegistration(const TSyncRegistration&) = delete;
  TSyncRegistration& operator=(const TSyncRegistration&) = delete;

  void UnRegister() {
    registered_ = false;
    CheckSyncResult(Desktop().Sync.UnRegisterConduit(handle_));
  }

 private:
  uint32_t handle_ = 0;
  bool registered_ = false;
};

// Destroys a window when its scope ends, normally or by an error.
template <typename TWindow>
class TWindowCloser {
 public:
  explicit TWindowCloser(std::unique_ptr<TWindow>& window) : window_(window) {}
  ~TWindowCloser() { window_.reset(); }
  TWindowCloser(const TWindowCloser&) = delete;
  TWindowCloser& operator=(const TWindowCloser&) = delete;

 private:
  std::unique_ptr<TWindow>& window_;
};

}  // namespace

TDataModule1::TDataModule1(TPhaseFunctions phases, TWindowViews views)
    : ExchangePhases(std::move(phases)),
      Phases(&ExchangePhases),
      Views(std::move(views)),
      SettingsPath(&SettingsFilePath),
      MessageBox([](const std::string& text, const std::string& caption, unsigned style) {
        return ::MessageBox(text, caption, style);
      }) {
  PalmComponent.ConduitName = "ZembraToPalm";
  PalmComponent.SetConduitVersion("2.6");
  PalmComponent.SetPriority(2);
  PalmComponent.Directory = "Default";
  PalmComponent.Information = "Zem&bra - Palm";
  PalmComponent.SetCreatorID("Wqtz");
  PalmComponent.OnConfigConduit = [this](TpfgCfgConduitInfo& data) { PalmComponentConfigConduit(data); };
  PalmComponent.OnExecConduit = [this](const TpfgSyncProperties& props) { PalmComponentExecConduit(props); };
}

TDataModule1::~TDataModule1() = default;

void TDataModule1::PalmComponentExecConduit(const TpfgSyncProperties& props) {
  const std::string conduit_name = PalmComponent.ConduitName;
  try {
    ReadSessionSettings(SettingsPath(), Settings);
  } catch (const Exception& error) {
    // The session ends before its opening line; the log still says why.
    PalmComponent.LogLine(conduit_name + " - " + error.what(), kLogError);
    throw;
  }
  TSyncRegistration registration;
  PalmComponent.LogLine(Ansi("Старт процедуры синхронизации ") + conduit_name, kLogProgress);
  ExchangeDirectory = FieldText(props.PathName);
  if (!ExchangeDirectory.empty()) ExchangeDirectory = WithTrailingSlash(ExchangeDirectory);
  UserName = FieldText(props.UserName);
  try {
    RunSessionProgram(Settings.StartFileName);
    PalmComponent.SetStatusText(Ansi("Подготовка данных"));
    OrderCount = ExchangeProcedure();
  } catch (const std::exception& error) {
    PalmComponent.LogLine(conduit_name + " - " + error.what(), kLogError);
    registration.UnRegister();
    return;
  }
  RunSessionProgram(Settings.StopFileName);
  PalmComponent.LogLine(conduit_name + Ansi(" - Загружено: ") + std::to_string(OrderCount) + Ansi(" заказов"),
                        kLogClosing);
  registration.UnRegister();
}

void TDataModule1::RunSessionProgram(const std::string& program) {
  if (program.empty()) return;
  PalmComponent.SetStatusText(Ansi("Вызов внешней программы"));
  PalmComponent.LogLine(Ansi("Вызов внешней программы ") + program, kLogProgress);
  try {
    RunExternalProgram(program, UserName, DirectoryOf(program));
  } catch (const std::exception&) {
    // The before and after programs never affect the session.
  }
}

TExchangeSession TDataModule1::MakeSession() {
  TExchangeSession session;
  session.DataModule = this;
  session.Settings = Settings;
  session.Directory = ExchangeDirectory;
  session.UserName = UserName;
  session.Files = ExchangeFileSetFor(Settings.ExchangeFormat);
  session.Progress = frmProgress.get();
  session.ConduitName = PalmComponent.ConduitName;
  session.StatusText = [this](const std::string& text) { PalmComponent.SetStatusText(text); };
  session.LogLine = [this](const std::string& text, int activity) { PalmComponent.LogLine(text, activity, false); };
  session.MessageBox = MessageBox;
  return session;
}

int32_t TDataModule1::ExchangeProcedure() {
  frmProgress = std::make_unique<TfrmProgress>(Views.MakeProgressView());
  frmProgress->SetUserName(UserName);
  frmProgress->Show();
  PalmComponent.SetStatusText(Ansi("Заказы: Проверка"));
  OrderCount = 0;
  TExchangeSession session = MakeSession();
  if (!Phases->PreExchangeChecks(session)) return 0;
  OrderCount = Phases->ImportPhase(session);
  {
    TWindowCloser closer(frmProgress);
    Phases->ExportPhase(session);
  }
  return OrderCount;
}

void TDataModule1::PalmComponentConfigConduit(TpfgCfgConduitInfo&) {
  const std::string path = SettingsPath();
  ReadSessionSettings(path, Settings);
  frmSetting = std::make_unique<TfrmSetting>();
  TWindowCloser closer(frmSetting);
  frmSetting->View = Views.SettingsDialog;
  frmSetting->Load(Settings);
  TSettingsDialogView* view = Views.SettingsDialog;
  frmSetting->ModalResult = view != nullptr ? view->ShowModal(*frmSetting) : TModalResult::Cancel;
  if (frmSetting->ModalResult == TModalResult::OK) {
    TSessionSettings chosen = Settings;
    frmSetting->Store(chosen);
    WriteSessionSettings(path, chosen);
    Settings = chosen;
  }
}
