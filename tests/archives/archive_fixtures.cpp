#include "archive_fixtures.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "config/archiver_defs.h"

namespace corvane::testing {

void ReadRecord::member(const ArchiveMember& m) {
  raw.push_back(m);
  members.push_back(m.storedPath + (m.directory ? "/" : "") + (m.link ? "@" : "") + " " +
                    std::to_string(m.size) + " " + dosText(m.date, m.time));
}

std::string ReadRecord::joined() const {
  std::string out;
  for (const std::string& m : members) out += m + "\n";
  return out;
}

std::string ReadRecord::sorted() const {
  std::vector<std::string> lines = members;
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

ReadRecord readBytes(int type, std::string_view bytes, std::string_view name, int* result) {
  ReadRecord record;
  MemorySource source(bytes);
  const int got = readArchive(type, source, record, name);
  if (result != nullptr) *result = got;
  return record;
}

std::string dosText(std::uint16_t date, std::uint16_t time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", 1980 + (date >> 9),
                (date >> 5) & 0x0F, date & 0x1F, time >> 11, (time >> 5) & 0x3F, (time & 0x1F) * 2);
  return text;
}

std::int64_t testUnixTime() {
  std::tm tm{};
  tm.tm_year = 2021 - 1900;
  tm.tm_mon = 2;
  tm.tm_mday = 14;
  tm.tm_hour = 15;
  tm.tm_min = 26;
  tm.tm_sec = 58;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

std::uint16_t crc16Of(std::string_view bytes, std::uint16_t crc) {
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

namespace {

// An extended header: type, data, and the size field of the next one (filled in later).
std::string extended(char type, std::string_view data) {
  std::string out(1, type);
  out += data;
  put16(out, 0);
  return out;
}

// Chains extended headers: each one's last two bytes give the size of the next. Returns the
// chain and the size of the first.
std::string chain(const std::vector<std::string>& headers, unsigned& firstSize) {
  std::string out;
  firstSize = headers.empty() ? 0 : static_cast<unsigned>(headers[0].size());
  for (std::size_t i = 0; i < headers.size(); ++i) {
    std::string h = headers[i];
    const unsigned next = i + 1 < headers.size() ? static_cast<unsigned>(headers[i + 1].size()) : 0;
    h[h.size() - 2] = static_cast<char>(next & 0xFF);
    h[h.size() - 1] = static_cast<char>(next >> 8);
    out += h;
  }
  return out;
}

// The offset of the header CRC's field inside a chain (after the type byte of 0x00).
void fillHeaderCrc(std::string& header, std::size_t crcField) {
  const std::uint16_t crc = crc16Of(header);
  header[crcField] = static_cast<char>(crc & 0xFF);
  header[crcField + 1] = static_cast<char>(crc >> 8);
}

}  // namespace

std::string lzhMember(const LzhMember& m) {
  const std::string method = m.isDirectory ? "-lhd-" : "-lh0-";
  const std::uint16_t dataCrc = crc16Of(m.data);
  std::string out;
  if (m.level == 0) {
    std::string path = m.directory.empty() ? m.name : m.directory + "/" + m.name;
    if (m.isDirectory) path = m.directory + "/";
    for (char& c : path)
      if (c == '/') c = '\\';
    std::string body = method;
    put32(body, static_cast<std::uint32_t>(m.data.size()));
    put32(body, static_cast<std::uint32_t>(m.data.size()));
    put16(body, TestDosTime);
    put16(body, TestDosDate);
    body += '\x20';
    body += '\x00';
    body += static_cast<char>(path.size());
    body += path;
    put16(body, dataCrc);
    unsigned sum = 0;
    for (unsigned char c : body) sum += c;
    out += static_cast<char>(body.size());
    out += static_cast<char>(sum & 0xFF);
    out += body;
    return out + m.data;
  }
  std::string directoryField;
  if (!m.directory.empty()) {
    directoryField = m.directory;
    for (char& c : directoryField)
      if (c == '/') c = '\xFF';
    directoryField += '\xFF';
  }
  std::vector<std::string> headers;
  if (m.headerCrc) headers.push_back(extended('\x00', std::string(2, '\0')));
  const std::string name = m.isDirectory ? std::string() : m.name;
  if (m.level == 2 || !name.empty()) headers.push_back(extended('\x01', name));
  if (!directoryField.empty()) headers.push_back(extended('\x02', directoryField));
  unsigned firstSize = 0;
  const std::string exts = chain(headers, firstSize);

  if (m.level == 1) {
    std::string body = method;
    put32(body, static_cast<std::uint32_t>(m.data.size() + exts.size()));  // skip size
    put32(body, static_cast<std::uint32_t>(m.data.size()));
    put16(body, TestDosTime);
    put16(body, TestDosDate);
    body += '\x20';
    body += '\x01';
    body += '\x00';  // the name lives in extended header 0x01
    put16(body, dataCrc);
    body += 'U';
    put16(body, firstSize);
    unsigned sum = 0;
    for (unsigned char c : body) sum += c;
    std::string header(1, static_cast<char>(body.size()));
    header += static_cast<char>(sum & 0xFF);
    header += body + exts;
    if (m.headerCrc) fillHeaderCrc(header, 2 + body.size() + 1);
    return header + m.data;
  }
  // Level 2: the total header length first, one padding byte when its low byte would be 0.
  std::size_t total = 26 + exts.size();
  const bool padding = (total & 0xFF) == 0;
  if (padding) ++total;
  std::string header;
  put16(header, static_cast<unsigned>(total));
  header += method;
  put32(header, static_cast<std::uint32_t>(m.data.size()));
  put32(header, static_cast<std::uint32_t>(m.data.size()));
  put32(header, static_cast<std::uint32_t>(testUnixTime()));
  header += '\x20';
  header += '\x02';
  put16(header, dataCrc);
  header += 'U';
  put16(header, firstSize);
  header += exts;
  if (padding) header += '\0';
  if (m.headerCrc) fillHeaderCrc(header, 26 + 1);
  return header + m.data;
}

std::string lzhArchive(const std::vector<LzhMember>& members) {
  std::string out;
  for (const LzhMember& m : members) out += lzhMember(m);
  return out + '\0';
}

std::string zooArchive(const std::vector<ZooMember>& members) {
  constexpr std::uint32_t Tag = 0xFDC4A7DC;
  std::string out("ZOO 2.10 Archive.\x1A", 18);
  out.resize(20, '\0');
  put32(out, Tag);
  put32(out, 42);
  put32(out, static_cast<std::uint32_t>(-42));
  out += std::string("\x02\x00\x01", 3);
  put32(out, 0);
  put16(out, 0);
  out += '\x03';

  auto entry = [&](const ZooMember* m, std::uint32_t next, std::uint32_t dataOffset) {
    std::string e;
    put32(e, Tag);
    e += '\x02';
    e += '\x00';
    put32(e, next);
    put32(e, dataOffset);
    std::string variable;
    if (m != nullptr) {
      put16(e, TestDosDate);
      put16(e, TestDosTime);
      put16(e, crc16Of(m->data));
      put32(e, static_cast<std::uint32_t>(m->data.size()));
      put32(e, static_cast<std::uint32_t>(m->data.size()));
      e += '\x01';
      e += '\x00';
      e += m->deleted ? '\x01' : '\x00';
      e += '\x00';
      put32(e, 0);
      put16(e, 0);
      const bool longName = m->name.size() > 12;
      std::string shortName = m->name.substr(0, 12);
      shortName.resize(13, '\0');
      e += shortName;
      const std::string longText = longName ? m->name : std::string();
      variable += static_cast<char>(longText.size());
      variable += static_cast<char>(m->directory.size());
      variable += longText + m->directory;
      put16(variable, 0);
      variable += std::string("\xA4\x01\x40", 3);
      variable += '\x00';
      put16(variable, 0);
    } else {
      e.resize(51, '\0');
    }
    put16(e, static_cast<unsigned>(variable.size()));
    e += '\x00';
    put16(e, 0);  // the entry's CRC, below
    e += variable;
    const std::uint16_t crc = crc16Of(e);
    e[54] = static_cast<char>(crc & 0xFF);
    e[55] = static_cast<char>(crc >> 8);
    return e;
  };
  for (const ZooMember& m : members) {
    const std::size_t entrySize =
        56 + 10 + m.directory.size() + (m.name.size() > 12 ? m.name.size() : 0);
    const auto dataOffset = static_cast<std::uint32_t>(out.size() + entrySize + 5);
    const auto next = static_cast<std::uint32_t>(dataOffset + m.data.size());
    out += entry(&m, next, dataOffset);
    out += std::string("@)#(\0", 5);
    out += m.data;
  }
  return out + entry(nullptr, 0, 0);
}

bool runIn(const std::string& directory, const std::string& command) {
  const std::string line = "cd '" + directory + "' && (" + command + ") >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

bool haveProgram(std::string_view name) {
  const std::string line = "command -v '" + std::string(name) + "' >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

}  // namespace corvane::testing
