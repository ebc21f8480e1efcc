#include "core/line_file_writer.h"

#include <cstring>

TLineFileWriter::TLineFileWriter(std::string path) : file_(std::move(path)) { piece_.Reserve(kPieceSize); }

void TLineFileWriter::WriteLine(std::string_view line) {
  if (line.size() + 2 > kPieceSize) {
    // A line longer than a piece goes out on its own.
    Flush();
    file_.Write(line);
    file_.Write("\r\n");
    return;
  }
  char* const room = LineRoom(line.size());
  if (!line.empty()) std::memcpy(room, line.data(), line.size());
  EndLine(room + line.size());
}

char* TLineFileWriter::LineRoom(size_t size) {
  if (piece_.View().size() + size + 2 > kPieceSize) Flush();
  return piece_.Room(size + 2);
}

void TLineFileWriter::EndLine(char* end) {
  *end++ = '\r';
  *end++ = '\n';
  piece_.Commit(end);
}

void TLineFileWriter::Commit() {
  Flush();
  file_.Commit();
}

void TLineFileWriter::Flush() {
  if (piece_.View().empty()) return;
  file_.Write(piece_.View());
  piece_.Clear();
}
