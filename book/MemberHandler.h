#pragma once

#include <cstdint>
#include <string>

// What a reader of containers does with the members the walk finds, one member at a time.
class CMemberHandler {
public:
    // The member's name, as soon as it has been read and before its record is looked at.
    virtual void OnMemberName(const std::string& name) = 0;
    // Asked first once the data are known to lie inside the file: true when they are only to be
    // counted, not read. The walk then seeks past them and tells their length instead, and they
    // count against the walk's budget as data read would.
    virtual bool PassesOver() { return false; }
    virtual void OnMemberPassed(uint64_t length) { (void)length; }
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
