#pragma once

#include <QString>
#include <functional>
#include <optional>

// The rules of the naming dialogs, as plain functions.

// The lower-case extension of a name: the text after its last ".".
QString LowerExtension(const QString& name);

// The name without its last "." and what follows it. A name without an
// extension (no ".", or a "." at the very end) is returned whole.
QString WithoutExtension(const QString& name);

// The extension lock of the name boxes: the text is cut before its last "."
// and "." plus the fixed extension (lower case) is appended. Applying it to
// its own result changes nothing.
QString LockExtension(const QString& text, const QString& extension);

// The highest number the numbering search tries; it starts at 2.
inline constexpr int HighestFreeNumber = 32767;

// The first name "<base> <n>.<extension>" for n = 2 .. HighestFreeNumber that
// is not taken, the base being the incoming name without its extension; none
// when every number is taken.
std::optional<QString> FirstFreeNumberedName(const QString& incomingName, const QString& extension,
                                             const std::function<bool(const QString&)>& taken);

// Whether a name is empty or made only of blanks (spaces, full-width spaces,
// tabs): a list would show it as an empty row.
bool IsBlankName(const QString& name);

// Why a typed file name cannot be used, in Japanese; empty when it can. Refused
// are characters the file system does not allow in a name and a blank base
// name (".JPG" would hide the file on this platform, "  .JPG" shows no name).
QString NameProblem(const QString& name);

// Why the leading text of the batch rename cannot be used; empty when it can.
QString LeadingTextProblem(const QString& text);

// The number a text begins with: blanks are ignored, reading stops at the
// first character that cannot continue a number, a decimal point and an
// exponent are accepted; a text without a leading number reads 0.
double LeadingNumber(const QString& text);

// The nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);

// The leading number of a text rounded half to even, when it lies within
// [lowest, highest].
std::optional<int> ReadInteger(const QString& text, int lowest, int highest);

// A number with at least the given count of digits, zero-padded on the left,
// a minus sign in front of the padding.
QString PaddedNumber(qint64 value, int digits);

// The batch rename's name of the k-th renamed file: the leading text, the
// number start + step * k with at least `digits` digits, ".", and the file's
// own extension in upper case.
QString BatchName(const QString& leadingText, int start, int step, int digits, int k,
                  const QString& fileName);
