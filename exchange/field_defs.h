// The column definitions of the in-memory table: name, type and, for texts, the width in
// characters (bytes of the desktop code page) beyond which a stored text is cut.
#pragma once

#include <string>
#include <vector>

enum class TFieldType { ftInteger, ftFloat, ftDateTime, ftString };

struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::ftString;
  // Texts only: the width; 0 (only for texts read from a packet without WIDTH) means no limit.
  int Size = 0;
};

class TFieldDefs {
 public:
  // EDatabaseError for an empty name, a name already defined (ignoring case) or a text of
  // width below 1.
  void Add(const std::string& name, TFieldType type, int size = 0);
  void Clear() { defs_.clear(); }
  // Takes the definitions as they stand (a loaded packet's columns).
  void Assign(std::vector<TFieldDef> defs) { defs_ = std::move(defs); }
  int Count() const { return static_cast<int>(defs_.size()); }
  const TFieldDef& operator[](int index) const { return defs_.at(index); }
  const std::vector<TFieldDef>& Items() const { return defs_; }

 private:
  std::vector<TFieldDef> defs_;
};
