#pragma once

#include <QString>
#include <QStringList>

#include "dsptree.h"

// Object type of user information structures.
constexpr int kUserInfoStructureType = 21;
constexpr int kRoleStructureType = 19;

// A user information structure body: a root node named by the user with a
// child node "Roles" that holds one boolean property per role.
TDSPNode MakeUserInfo(const QString& user, const QStringList& roles);
QStringList UserRoles(const TDSPNode& userInfo);
