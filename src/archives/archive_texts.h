// Every text the archive readers and the archive commands show. The readers' messages are
// those of the archivers they follow, byte for byte (their missing blanks too).
#pragma once

#include <string_view>

namespace corvane {

// ZIP.
constexpr const char* FormatZipCannotOpen = "error:  can't open zipfile [ %s ]\n";
constexpr std::string_view TextZipNoEndRecord =
    "End-of-central-directory signature not found.  Either this file is not\n"
    "a zipfile, or it constitutes one disk of a multi-part archive.  In the\n"
    "latter case the central directory and zipfile comment will be found on\n"
    "the last disk(s) of this archive.\n";
constexpr const char* FormatZipMissingBytes =
    "error:  missing %ld bytes in zipfile (attempting to process anyway)";
constexpr std::string_view TextZipNullOffset =
    "error:  NULL central directory offset (attempting to process anyway)";
constexpr const char* FormatZipExtraBytes =
    "warning:  extra %ld bytes at beginning orwithin zipfile\n  (attempting to process anyway)";
constexpr std::string_view TextZipMultiDisk =
    "Zipfile is part of a multi-disk archive, and this is not the disk onwhich the central "
    "zipfile directory begins.";
constexpr const char* FormatZipNoHeaderSignature =
    "error:  expected central file header signature not found (file #%u).\n";
constexpr std::string_view TextZipNoEndAfterDirectory =
    "\nwarning:  didn't find end-of-central-dir signature at end of central dir.\n";
constexpr std::string_view TextZipNameTooLong = "warning:  filename too long--truncating.\n";
constexpr const char* FormatZipExtraTooLong = "warning:  extra field too long (%d).  Ignoring...\n";

// LZH.
constexpr std::string_view TextLzhUnknownHeader = "Unknown header (LHarc file ?)";

// ZOO: "Zoo:  ", the severity, the text.
constexpr std::string_view TextZooPrefix = "Zoo:  ";
constexpr std::string_view TextZooWarning = "WARNING:  ";
constexpr std::string_view TextZooError = "ERROR:  ";
constexpr std::string_view TextZooFatal = "FATAL:  ";
constexpr std::string_view TextZooHeaderCheck = "Archive header failed consistency check.\n";
constexpr const char* FormatZooNeedsVersion =
    "Zoo %d.%d or later is needed to fully manipulate this archive.\n";
constexpr std::string_view TextZooEntryInvalid = "Directory entry in archive is invalid.\n";
constexpr std::string_view TextZooCorrupted = "Invalid or corrupted archive.\n";
constexpr const char* FormatZooRestLost =
    "The rest of the archive (%lu bytes) cannot be processed.\n";
constexpr const char* FormatZooCannotOpen = "Could not open %s.\n";

// ARJ.
constexpr const char* FormatArjCannotOpen = "Can't open %s";
constexpr const char* FormatArjNotArchive = "%s is not an ARJ archive";
constexpr std::string_view TextArjBadHeader = "Bad header";
constexpr std::string_view TextArjHeaderCrc = "Header CRC error!";
constexpr std::string_view TextArjBadComment = "Invalid comment header";
constexpr std::string_view TextArjEndOfFile = "Can't read file or unexpected end of file";
constexpr const char* FormatArjErrors = "%sFound %5d error(s)!";

// The archive commands.
constexpr std::string_view TextNoTemporaryPath =
    " Temporary path must be set through TMP or TEMP environment";
constexpr std::string_view TextArchivePrompt = "ARCHIVE :";
constexpr std::string_view TextArchiveNamePrompt = "Archivname :";
constexpr std::string_view TextDefaultArchive = "CV.ZIP";
constexpr const char* FormatUnsafeMember =
    "The name %s\nwould lead outside the directory it is unpacked into:\nnot extracted";
constexpr const char* FormatUnsafeArchive =
    "%s holds names that would lead outside\nthe directory it is unpacked into:\nnot unpacked";
constexpr const char* FormatNameNotPassable = "The name %s\ncannot be given to %s exactly";
constexpr const char* FormatNoArchiver = "No program in the archiver definitions\nto %s %s";
constexpr std::string_view TextActionPack = "pack";
constexpr std::string_view TextActionUnpack = "unpack";
constexpr std::string_view TextActionDelete = "delete from";

}  // namespace corvane
