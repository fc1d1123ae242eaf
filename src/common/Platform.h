#pragma once

#include <QString>

// Facts of the computer the program runs on.
class Platform {
  public:
    virtual ~Platform() = default;
    // The folder of the program (where "vardello.ini" and the default archive live).
    virtual QString programFolder() const = 0;
    // True when the program may write into its folder (not so for an installed program).
    virtual bool programFolderWritable() const = 0;
    // The person's own folders for this program: configuration and data.
    virtual QString userConfigFolder() const = 0;
    virtual QString userDataFolder() const = 0;
    // The computer's network name (empty when it cannot be read).
    virtual QString computerName() const = 0;
    // Claims this program folder for this process. False when another copy of the program
    // started from the same folder is already running on this computer.
    virtual bool claimSingleInstance() = 0;
};

class SystemPlatform : public Platform {
  public:
    SystemPlatform();
    ~SystemPlatform() override;
    QString programFolder() const override;
    bool programFolderWritable() const override;
    QString userConfigFolder() const override;
    QString userDataFolder() const override;
    QString computerName() const override;
    bool claimSingleInstance() override;
    // The lock file of the claim, removed again when this object goes.
    QString singleInstanceLockPath() const;

  private:
    struct Lock;
    Lock* lock_ = nullptr;
};
