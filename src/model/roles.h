#pragma once

#include <QString>

class TEIFile;
class TEISection;

// Roles that tree objects of one subsystem play for the drops of another.
// A drop target tests a dragged object with dynamic_cast to a role, so that
// subsystems whose objects meet in drops never include each other's classes.
// Objects implement a role beside their TPelvarObject base.

// A DSP structure of a database: what identifies it there.
class TDSPStructureRole {
  public:
    virtual ~TDSPStructureRole() = default;
    virtual QString DSPName() const = 0;
    virtual int DSPObjectType() const = 0;
    virtual QString DSPAlias() const = 0;
};

// A folder of a database that holds objects of some types (structure
// containers, resource containers): its database and what it takes.
class TContainerRole {
  public:
    virtual ~TContainerRole() = default;
    virtual QString ContainerAlias() const = 0;
    virtual bool IsObjectTypeAccepted(int ObjectType) const = 0;
};

// An object shown from one section of an opened export/import file.
class TEISectionRole {
  public:
    virtual ~TEISectionRole() = default;
    // Not owned: the file owns its sections, the file counter the file.
    virtual TEISection* FileSection() const = 0;
    virtual TEIFile* SectionFile() const = 0;
};

// An object that stands for one local resource section.
class TSectionIDRole {
  public:
    virtual ~TSectionIDRole() = default;
    virtual QString SectionID() const = 0;
};

// An object that stands for one language.
class TLanguageIDRole {
  public:
    virtual ~TLanguageIDRole() = default;
    virtual QString LanguageID() const = 0;
};
