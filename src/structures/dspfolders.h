#pragma once

#include "dbobjectitems.h"
#include "dspfolder.h"
#include "schemefolders.h"
#include "vformfolder.h"

// The structure folders by kind. Kinds with editors of their own (tables and
// database objects, forms, schemes, wizard scenarios, the scheduler) have their
// folders in the headers included above; the rest share the common actions.

// A folder of the structures of one type; new structures get that type.
#define PELVAR_DSP_TYPE_FOLDER(Class, Type, DefaultType)                                          \
    class Class : public TDODSPFolder {                                                           \
      public:                                                                                     \
        PELVAR_OBJECT_CREATE(Class)                                                               \
        QString GetCaption() override;                                                            \
        bool IsObjectTypeAccepted(int ObjectType) const override { return ObjectType == (Type); } \
        int GetDefaultObjectType() const override { return (DefaultType); }                       \
    }

PELVAR_DSP_TYPE_FOLDER(TDOParamStructures, 14, 14);
PELVAR_DSP_TYPE_FOLDER(TDOUserProfileStructures, 18, 0);
PELVAR_DSP_TYPE_FOLDER(TDORoleStructures, 19, 0);
PELVAR_DSP_TYPE_FOLDER(TDOPrivilegeStructures, 20, 0);
PELVAR_DSP_TYPE_FOLDER(TDOUserInfoStructures, 21, 0);
PELVAR_DSP_TYPE_FOLDER(TDOInternetStructures1, 65, 65);
PELVAR_DSP_TYPE_FOLDER(TDOInternetStructures2, 66, 66);

#undef PELVAR_DSP_TYPE_FOLDER

// "All": every structure of the database, with a column for the type.
class TDOAllStructures : public TDODSPFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOAllStructures)
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int) const override { return true; }
    bool IsDSPContainerAccepted(const QString&) const override { return true; }
    bool IsEIFolderAccepted(const TPelvarObject& EIFolder) override;
    void CreateColumns(TListColumns& Columns) override;
};

// "Unknown": structures of every type no folder is made for.
class TDOUnknownStructures : public TDODSPFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOUnknownStructures)
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override;
};
