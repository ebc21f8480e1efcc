#include "ui/file_chooser.h"

#include <curses.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/cp1251.h"
#include "ui/curses_screen.h"

namespace fs = std::filesystem;

namespace {

std::string StartDirectory(const std::string& initial_directory) {
  std::error_code error;
  if (!initial_directory.empty() && fs::is_directory(initial_directory, error))
    return fs::absolute(initial_directory, error).lexically_normal().string();
  return fs::current_path(error).string();
}

std::string LastComponent(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Child(const std::string& directory, const std::string& name) {
  return directory == "/" ? "/" + name : directory + "/" + name;
}

std::string Parent(const std::string& directory) {
  const std::string parent = fs::path(directory).parent_path().string();
  return parent.empty() ? "/" : parent;
}

int IndexOf(const std::vector<std::string>& entries, const std::string& name) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == name || entries[i] == name + "/") return static_cast<int>(i);
  }
  return 0;
}

void Draw(WINDOW* window, const std::string& directory, const std::vector<std::string>& entries, int selected,
          int first) {
  werase(window);
  box(window, 0, 0);
  const std::string title = " " + ScreenText(Ansi("Открыть")) + " ";
  mvwaddstr(window, 0, 2, title.c_str());
  mvwaddnstr(window, 1, 2, directory.c_str(), getmaxx(window) - 4);
  const int visible = getmaxy(window) - 4;
  for (int line = 0; line < visible && first + line < static_cast<int>(entries.size()); ++line) {
    const int index = first + line;
    if (index == selected) wattron(window, A_REVERSE);
    mvwaddnstr(window, 3 + line, 2, entries[index].c_str(), getmaxx(window) - 4);
    if (index == selected) wattroff(window, A_REVERSE);
  }
  wrefresh(window);
}

}  // namespace

std::vector<std::string> ChooserEntries(const std::string& directory) {
  std::vector<std::string> directories;
  std::vector<std::string> files;
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code kind_error;
    if (it->is_directory(kind_error))
      directories.push_back(name + "/");
    else
      files.push_back(name);
  }
  std::sort(directories.begin(), directories.end());
  std::sort(files.begin(), files.end());
  std::vector<std::string> entries;
  if (directory != "/") entries.push_back("../");
  entries.insert(entries.end(), directories.begin(), directories.end());
  entries.insert(entries.end(), files.begin(), files.end());
  return entries;
}

std::optional<std::string> RunFileChooser(const std::string& initial_directory, const std::string& initial_name) {
  std::string directory = StartDirectory(initial_directory);
  std::vector<std::string> entries = ChooserEntries(directory);
  int selected = IndexOf(entries, LastComponent(initial_name));
  int first = 0;
  WINDOW* window = newwin(std::max(LINES - 2, 6), std::max(COLS - 4, 20), 1, 2);
  keypad(window, TRUE);
  std::optional<std::string> chosen;
  for (bool done = false; !done;) {
    const int visible = std::max(getmaxy(window) - 4, 1);
    if (selected < first) first = selected;
    if (selected >= first + visible) first = selected - visible + 1;
    Draw(window, directory, entries, selected, first);
    const int count = static_cast<int>(entries.size());
    const int key = wgetch(window);
    switch (key) {
      case KEY_UP:
        selected = std::max(selected - 1, 0);
        break;
      case KEY_DOWN:
        selected = std::min(selected + 1, count - 1);
        break;
      case KEY_PPAGE:
        selected = std::max(selected - visible, 0);
        break;
      case KEY_NPAGE:
        selected = std::min(selected + visible, count - 1);
        break;
      case KEY_HOME:
        selected = 0;
        break;
      case KEY_END:
        selected = count - 1;
        break;
      case 27:
        done = true;
        break;
      case KEY_BACKSPACE:
      case 127:
      case 8: {
        const std::string left = LastComponent(directory);
        directory = Parent(directory);
        entries = ChooserEntries(directory);
        selected = IndexOf(entries, left);
        break;
      }
      case '\n':
      case '\r':
      case KEY_ENTER: {
        if (count == 0) break;
        const std::string& entry = entries[selected];
        if (entry == "../") {
          const std::string left = LastComponent(directory);
          directory = Parent(directory);
          entries = ChooserEntries(directory);
          selected = IndexOf(entries, left);
        } else if (entry.back() == '/') {
          directory = Child(directory, entry.substr(0, entry.size() - 1));
          entries = ChooserEntries(directory);
          selected = 0;
        } else {
          chosen = Child(directory, entry);
          done = true;
        }
        break;
      }
      default:
        break;
    }
  }
  delwin(window);
  touchwin(stdscr);
  refresh();
  return chosen;
}
