// Escaping database names into file names.
#include "hotsync/device/database_file_name.h"

namespace {

bool KeptAsIs(unsigned char c, bool first) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return c == '-' || c == '_' || (c == '.' && !first);
}

}  // namespace

std::string DatabaseFileName(std::string_view database_name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string file_name;
  for (size_t i = 0; i < database_name.size(); ++i) {
    const auto c = static_cast<unsigned char>(database_name[i]);
    if (KeptAsIs(c, i == 0)) {
      file_name.push_back(static_cast<char>(c));
    } else {
      file_name.push_back('%');
      file_name.push_back(kHex[c >> 4]);
      file_name.push_back(kHex[c & 0x0F]);
    }
  }
  return file_name + ".pdb";
}
