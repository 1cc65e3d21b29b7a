#include "record/joint_blob.h"

#include "record/round_checks.h"

#include <QtEndian>
#include <bit>

namespace record {

namespace {

constexpr qsizetype kCoordinateSize = sizeof(quint64);
constexpr qsizetype kBlobSize = static_cast<qsizetype>(core::kJointCount) * 2 * kCoordinateSize;
static_assert(sizeof(double) == kCoordinateSize);

void put(char* out, double value)
{
    qToLittleEndian(std::bit_cast<quint64>(value), out);
}

double take(const char* in)
{
    return std::bit_cast<double>(qFromLittleEndian<quint64>(in));
}

} // namespace

QByteArray jointBlob(const core::Joints& joints)
{
    QByteArray blob(kBlobSize, Qt::Uninitialized);
    char* out = blob.data();
    for (const QPointF& joint : joints) {
        put(out, joint.x());
        put(out + kCoordinateSize, joint.y());
        out += 2 * kCoordinateSize;
    }
    return blob;
}

std::optional<core::Joints> jointsOf(const QByteArray& blob)
{
    if (blob.size() != kBlobSize)
        return std::nullopt;
    core::Joints joints;
    const char* in = blob.constData();
    for (QPointF& joint : joints) {
        joint = {take(in), take(in + kCoordinateSize)};
        in += 2 * kCoordinateSize;
    }
    // Nine points that no figure can be drawn from are as good as none.
    return drawable(joints) ? std::optional(joints) : std::nullopt;
}

} // namespace record
