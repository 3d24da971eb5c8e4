// File names and paths as the file system gives them, carried in QString without loss.
//
// Linux file names are bytes; most are UTF-8, but a name copied from an old Windows disk
// or a Palm backup may be Latin-1 or Windows-1252 ("Adre\xDF""buch.pdb"). Qt decodes
// names as UTF-8 and turns invalid bytes into U+FFFD, after which no call reaches the file.
// So a path read from the system is decoded here instead: valid UTF-8 as usual, and each
// byte of an invalid sequence as the lone surrogate U+DC80 + (byte - 0x80), as Python's
// "surrogateescape" does. Valid UTF-8 never yields a lone surrogate, so the way back is
// exact. Every system call on such a path takes EncodePath's bytes, never QFile's
// encoding of the QString; what the user reads is DisplayName's text.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <ctime>
#include <optional>

// The name or path for these bytes, losslessly (see above).
QString DecodePath(const char* bytes, qsizetype size);
inline QString DecodePath(const QByteArray& bytes) {
    return DecodePath(bytes.constData(), bytes.size());
}

// The exact bytes of a path made by DecodePath (with any valid text around it).
QByteArray EncodePath(const QString& path);

// The length of the valid UTF-8 sequence at bytes[0], of the left bytes there (shortest
// form, no surrogates, at most U+10FFFF), or 0 when it is not one; code receives its code
// point.
int ValidUtf8Sequence(const unsigned char* bytes, qsizetype left, char32_t& code);

// True when the path holds bytes that are not UTF-8 (DecodePath's escapes).
bool HasEscapedBytes(const QString& path);

// The text to show for a name or path: the path itself when it is valid UTF-8; else each
// byte that is not part of valid UTF-8 read as Windows-1252, the character set of Windows
// disks and of the Palm texts, whose letters at 0xA0..0xFF are Latin-1's and which gives
// the bytes 0x80..0x9F printable characters (where Latin-1 has invisible controls). The
// UTF-8 parts of a mixed name stay as they are.
QString DisplayName(const QString& path);

// A file URL carrying the path's exact bytes, percent-encoded ("file:///a/Adre%DFbuch.pdb"),
// for opening with the desktop and for dragging to other programs.
QUrl LocalFileUrl(const QString& path);

// True when an entry of that name is there; a link counts, even one whose target is gone.
bool EntryExists(const QString& path);

// True when path names a folder (or a link to one), by the path's bytes.
bool FolderExists(const QString& path);

// True when path names a regular file (or a link to one), by the path's bytes.
bool RegularFileExists(const QString& path);

// The size of what path leads to (0 for a folder, whose size on Unix is an allocation
// detail of the file system) and its last-write time where it has one; nothing when
// nothing is there. By the path's bytes.
struct EntrySizeAndTime {
    int64_t Bytes = 0;
    std::optional<std::time_t> Modified;
};
std::optional<EntrySizeAndTime> SizeAndTimeOf(const QString& path);
