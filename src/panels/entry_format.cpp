#include "panels/entry_format.h"

#include "config/setup_block.h"
#include "panels/display_texts.h"
#include "panels/global_list.h"
#include "panels/name_fold.h"
#include "platform/charset.h"
#include "platform/drive_info.h"
#include "platform/textf.h"
#include "ui/window.h"

namespace corvane {

DateStyle currentDateStyle() {
  return (setupBlock().clockFlags.get() & ClockFlag24Hours) != 0 ? DateStyle::European
                                                                 : DateStyle::TwelveHour;
}

int twoDigitYear(std::uint16_t dosDate) {
  const int year = 1980 + (dosDate >> 9);
  return year < 2000 ? year - 1900 : (year - 2000) % 100;
}

std::string dateTimeText(std::uint16_t dosDate, std::uint16_t dosTime, DateStyle style,
                         DateForm form) {
  // No date at all (the ".." that stands for an empty drive root): blanks of the same width.
  if (dosDate == 0) return std::string(dateTimeText(0x21, 0, style, form).size(), ' ');
  const int day = dosDate & 0x1F;
  const int month = (dosDate >> 5) & 0x0F;
  const int year = twoDigitYear(dosDate);
  const int hour = (dosTime >> 11) & 0x1F;
  const int minute = (dosTime >> 5) & 0x3F;
  if (style == DateStyle::European) {
    const char* format = form == DateForm::LongDisplay ? FormatDateEuropean
                         : form == DateForm::InfoLine  ? FormatInfoDateEuropean
                                                       : FormatListDateEuropean;
    return textf(format, day, month, year, hour, minute);
  }
  // Up to 12:59 the hour stands as it is with "a" (00:15a, 12:30a); from 13:00 on it is
  // counted again from 1 with "p".
  const bool afternoon = hour >= 13;
  const char* format = nullptr;
  switch (form) {
    case DateForm::LongDisplay:
      format = afternoon ? FormatDatePm : FormatDateAm;
      break;
    case DateForm::InfoLine:
      format = afternoon ? FormatInfoDatePm : FormatInfoDateAm;
      break;
    case DateForm::ListFile:
      format = afternoon ? FormatListDatePm : FormatListDateAm;
      break;
  }
  return textf(format, month, day, year, afternoon ? hour - 12 : hour, minute);
}

std::string attributeText(std::uint8_t attributes) {
  constexpr std::uint8_t Bits[4] = {AttrHidden, AttrSystem, AttrReadOnly, AttrArchive};
  std::string out(AttributeLetters);
  for (int i = 0; i < 4; ++i)
    if ((attributes & Bits[i]) == 0) out[static_cast<std::size_t>(i)] = '.';
  return out;
}

namespace {

const CompareMarkText* compareMarkOf(std::uint32_t mark) {
  for (const CompareMarkText& m : CompareMarkTexts)
    if ((mark & m.bit) != 0) return &m;
  return nullptr;
}

}  // namespace

std::string_view compareMarkLong(std::uint32_t mark) {
  const CompareMarkText* m = compareMarkOf(mark);
  return m ? m->longText : TextNoCompareMark;
}

char32_t compareMarkShort(std::uint32_t mark) {
  const CompareMarkText* m = compareMarkOf(mark);
  return m ? cp437ToUnicode(m->shortChar) : U' ';
}

char compareMarkList(std::uint32_t mark) {
  const CompareMarkText* m = compareMarkOf(mark);
  return m ? m->listChar : ' ';
}

std::string fitSize(std::uint64_t bytes, int width) {
  std::string text = formatSize(bytes);
  if (static_cast<int>(text.size()) <= width) return text;
  text = textf("%llu", static_cast<unsigned long long>(bytes));
  if (static_cast<int>(text.size()) <= width) return text;
  static constexpr const char* Units[] = {" kB", " MB", " GB", " TB", " PB", " EB"};
  std::uint64_t scaled = bytes;
  for (const char* unit : Units) {
    scaled /= 1000;
    text = textf("%llu%s", static_cast<unsigned long long>(scaled), unit);
    if (static_cast<int>(text.size()) <= width) return text;
  }
  return text.substr(0, width > 0 ? static_cast<std::size_t>(width) : 0);
}

std::string sizeColumnText(std::uint64_t bytes) {
  if (bytes <= 99999999u) return textf(FormatSizeField, static_cast<unsigned long long>(bytes));
  return textf("%8s", fitSize(bytes, 8).c_str());
}

std::string sizeFieldText(const FileNode& node) {
  if (node.entry.isDirectory() && (node.mark & MarkSizeComputed) == 0)
    return std::string(TextDirectoryField);
  return sizeColumnText(node.entry.size);
}

bool isExecutableName(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = name.substr(dot + 1);
  return equalFolded(extension, "exe") || equalFolded(extension, "com") ||
         equalFolded(extension, "bat");
}

std::string upperCaseLetters(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string listFileName(const Panel& panel, NodeId id) {
  const bool fullPath = isGlobalList(panel) &&
                        (panel.displayBits & DisplayModeBits) != DisplayShort &&
                        node(panel.list, id).directory != NoDirectory;
  std::string name = fullPath ? globalListPath(panel.list, id) : node(panel.list, id).entry.name;
  if (panel.nameCase == 0) name = upperCaseLetters(name);
  return name;
}

std::string displayName(const Panel& panel, NodeId id) {
  return shortNameLayout(listFileName(panel, id));
}

ColorAttr entryColor(const FileNode& node, bool underCursor, ColorAttr normal) {
  const FileEntry& e = node.entry;
  const bool selected = (node.mark & MarkSelected) != 0;
  ColorAttr attr;
  if (underCursor) {
    attr = e.isDirectory() ? color(ColorSelectDirect)
           : selected      ? color(ColorQuestionWindow)
                           : color(ColorActFilecursor);
  } else if (selected) {
    attr = color(ColorSelectFiles);
  } else if (e.isDirectory()) {
    attr = color(ColorDirectories);
  } else if (isExecutableName(e.name)) {
    attr = color(ColorExecutableFiles);
  } else {
    attr = normal;
  }
  if (!selected && (e.attributes & (AttrHidden | AttrSystem | AttrReadOnly)) != 0)
    attr = static_cast<ColorAttr>(attr ^ 0x08);
  return attr;
}

std::string padCells(std::string_view text, int cells) {
  std::string out;
  int used = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t ch;
    const std::size_t n = decodeChar(text, pos, ch);
    const int w = charCells(ch);
    if (used + w > cells) {
      break;
    }
    out.append(text.substr(pos, n));
    used += w;
    pos += n;
  }
  if (used < cells) out.append(static_cast<std::size_t>(cells - used), ' ');
  return out;
}

std::string tailCells(std::string_view text, int cells) {
  if (textCells(text) <= cells) return std::string(text);
  // Walk from the front dropping characters until the rest fits: O(length).
  int total = textCells(text);
  std::size_t pos = 0;
  while (pos < text.size() && total > cells) {
    char32_t ch;
    const std::size_t n = decodeChar(text, pos, ch);
    total -= charCells(ch);
    pos += n;
  }
  return std::string(text.substr(pos));
}

}  // namespace corvane
