#pragma once

#include <QString>

// What a technician's password must be: at least 10 characters, none of the common
// passwords (a list of our own, compared without letter case), and not the login itself or
// anything built around it.
namespace PasswordPolicy {

constexpr int MinimumLength = 10;

// Empty when the password will do, else the reason in Czech.
QString problem(const QString& password, const QString& login);

} // namespace PasswordPolicy
