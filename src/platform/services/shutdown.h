#pragma once

// Turns the machine off at the end of a recording, when the user asked for it.
class Shutdown
{
public:
    virtual ~Shutdown() = default;
    // False when the command could not be started.
    virtual bool powerOff() = 0;
};

// Asks systemd (through `systemctl poweroff`, started without a shell).
class SystemShutdown : public Shutdown
{
public:
    bool powerOff() override;
};
