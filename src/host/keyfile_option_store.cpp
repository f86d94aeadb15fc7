// Key-file parsing, escaping and the atomic rewrite of the option file.
#include "host/keyfile_option_store.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace driftglass {
namespace {

std::string Unescape(const std::string& raw) {
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\' || i + 1 == raw.size()) {
      out += raw[i];
      continue;
    }
    switch (raw[++i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        out += '\\';
        out += raw[i];
        break;
    }
  }
  return out;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' && i == 0)
      out += "\\s";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  return out;
}

std::string TrimRight(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.pop_back();
  return text;
}

}  // namespace

bool KeyFileOptionStore::ReadGroup(const std::string& keyPath) {
  values_.clear();
  otherGroups_.clear();
  group_ = keyPath;
  std::ifstream file(path_, std::ios::binary);
  if (!file) return false;
  bool inGroup = false;
  bool inOtherGroup = false;
  bool groupSeen = false;
  std::string line;
  while (std::getline(file, line)) {
    line = TrimRight(line);
    if (!line.empty() && line[0] == '[') {
      inGroup =
          line.size() >= 2 && line.back() == ']' && line.compare(1, line.size() - 2, keyPath) == 0;
      inOtherGroup = !inGroup && line.back() == ']';
      groupSeen = groupSeen || inGroup;
    }
    if (inOtherGroup) {  // kept as it was, to be written back
      otherGroups_ += line;
      otherGroups_ += '\n';
      continue;
    }
    if (line.empty() || line[0] == '#' || line[0] == '[') continue;
    const size_t equals = line.find('=');
    if (!inGroup || equals == std::string::npos || equals == 0) continue;
    const std::string name = TrimRight(line.substr(0, equals));
    size_t valueStart = equals + 1;
    while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t'))
      ++valueStart;
    values_[name] = Unescape(line.substr(valueStart));
  }
  return groupSeen;
}

bool KeyFileOptionStore::OpenForReading(const std::string& keyPath) {
  writing_ = false;
  return ReadGroup(keyPath);
}

bool KeyFileOptionStore::OpenForWriting(const std::string& keyPath) {
  ReadGroup(keyPath);  // keep values this save does not touch
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) {
    lastError_ = "cannot create " + folder.string() + ": " + error.message();
    return false;
  }
  writing_ = true;
  return true;
}

std::optional<std::string> KeyFileOptionStore::ReadValue(const std::string& name) {
  auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

bool KeyFileOptionStore::WriteValue(const std::string& name, uint32_t, const std::string& bytes) {
  if (!writing_) return false;
  values_[name] = bytes.substr(0, bytes.find('\0'));
  return true;
}

bool KeyFileOptionStore::Close() {
  if (!writing_) return true;
  writing_ = false;
  std::ostringstream text;
  text << otherGroups_;
  text << '[' << group_ << "]\n";
  for (const auto& [name, value] : values_) text << name << '=' << Escape(value) << '\n';

  // Write a sibling file and rename it over the old one, so a crash never leaves half a file.
  const std::string temporary = path_ + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (file) file << text.str();
    if (!file || !file.flush()) {
      lastError_ = "cannot write " + temporary + ": " + std::strerror(errno);
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path_, error);
  if (error) {
    lastError_ = "cannot replace " + path_ + ": " + error.message();
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace driftglass
