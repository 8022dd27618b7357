#pragma once

#include <string>

// What a reader of containers does with the members the walk finds, one member at a time.
class CMemberHandler {
public:
    // The member's name, as soon as it has been read and before its record is looked at.
    virtual void OnMemberName(const std::string& name) = 0;
    // Where the member's data are to be appended, or null when they are not wanted. Asked only
    // once the data are known to lie inside the file.
    virtual std::string* DataTarget() = 0;
    // The data were read completely and appended to `target`.
    virtual void OnMemberData(std::string& target) = 0;
    // The file ended before the walk did: a header, name or record header ran into its end, or a
    // record reached beyond it. The walk ends (or skips that record) right after telling.
    virtual void OnCutShort() = 0;

protected:
    ~CMemberHandler() {}
};
