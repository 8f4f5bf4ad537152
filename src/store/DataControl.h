#pragma once

// A control bound to a data source; before a post it hands over what the user typed.
class DataControl
{
public:
    virtual ~DataControl() = default;
    // Writes a pending, not yet handed over text into the field; throws ConversionError.
    virtual void commitPending() {}
};
