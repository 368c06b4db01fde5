#pragma once

#include <QString>
#include <QVariant>

#include <memory>

// Turns a value of the store into the value a list shows, looked up by name so that the lists
// and the application's start agree on one instance. Transformers are registered once, at
// start, on the main thread.
class ValueTransformer
{
public:
    virtual ~ValueTransformer() = default;

    virtual QVariant transformedValue(const QVariant &value) const = 0;

    // Replaces any transformer registered under the name; nullptr removes it.
    static void setValueTransformer(std::unique_ptr<ValueTransformer> transformer, const QString &name);
    // The transformer registered under the name, or nullptr.
    static const ValueTransformer *valueTransformerForName(const QString &name);
};
