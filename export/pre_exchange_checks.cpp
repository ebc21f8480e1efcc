#include "export/pre_exchange_checks.h"

#include <initializer_list>

#include "api/hotsync_api.h"
#include "core/cp1251.h"
#include "core/file_lookup.h"

namespace {

constexpr int kLogError = 21;

std::string JoinLines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\r';
    text += line;
  }
  return text;
}

bool AnyExists(const TExchangeSession& session, std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    if (!name.empty() && FileExistsNoCase(session.Directory, name)) return true;
  }
  return false;
}

bool AllExist(const TExchangeSession& session, std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    if (name.empty() || !FileExistsNoCase(session.Directory, name)) return false;
  }
  return true;
}

void Report(TExchangeSession& session, const std::string& message) {
  session.MessageBox(message, Ansi("Ошибка"), MB_OK | MB_ICONERROR);
  session.LogLine(Ansi("Ошибка ") + session.ConduitName + "\r" + message, kLogError);
}

}  // namespace

std::string UnimportedOutputMessage(const TExchangeSession& session) {
  const TExchangeFileSet& files = session.Files;
  return JoinLines({Ansi("Данные предыдущего сеанса обмена не импортированы в систему учета"),
                    Ansi("Выполните процедуру импорта в систему учета или удалите файлы "),
                    session.FilePath(files.Order), session.FilePath(files.OrderItem), session.FilePath(files.Cash),
                    session.FilePath(files.PayByDoc), session.FilePath(files.RouteOut),
                    Ansi("После этого повторите процедуру синхронизации"), Ansi("Процедура синхронизации прервана")});
}

std::string MissingReferenceMessage(const TExchangeSession& session) {
  const TExchangeFileSet& files = session.Files;
  return JoinLines({Ansi("Нет справочников для синхронизации с PALM"),
                    Ansi("Выполните процедуру экспорта из системы учета"), Ansi("Проверьте наличие файлов"),
                    session.FilePath(files.Product), session.FilePath(files.Customer), session.FilePath(files.Category),
                    Ansi("После этого повторите процедуру синхронизации"), Ansi("Процедура синхронизации прервана")});
}

bool PreExchangeChecks(TExchangeSession& session) {
  const TExchangeFileSet& files = session.Files;
  if (AnyExists(session, {files.Order, files.OrderItem, files.Cash, files.PayByDoc, files.RouteOut})) {
    Report(session, UnimportedOutputMessage(session));
    return false;
  }
  if (!AllExist(session, {files.Product, files.Customer, files.Category})) {
    Report(session, MissingReferenceMessage(session));
    return false;
  }
  return true;
}
