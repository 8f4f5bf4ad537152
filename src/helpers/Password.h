#pragma once

#include <QString>

// The start-up password. The password file holds only the MD5 digest of the password.
namespace Password {

// MD5 of the trimmed password as Windows-1250 bytes: 32 lower-case hexadecimal digits.
QString OtiskHesla(const QString& password);

// True when the trimmed content of the file equals the digest of the entry. Throws
// AppError with the file error when the file cannot be read.
bool OveritHeslo(const QString& passwordFile, const QString& entry);

// Writes the digest line (34 bytes with CR LF); the old file is replaced only when the new
// one is complete. Throws AppError when it cannot be written.
void writePasswordFile(const QString& passwordFile, const QString& password);

} // namespace Password
