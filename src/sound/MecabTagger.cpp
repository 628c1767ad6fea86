#include "MecabTagger.h"

#include <QFileInfo>
#include <QStringList>

#include <mecab.h>

namespace {

// Debian's UTF-8 IPA dictionary; when it is not installed, MeCab's own
// configuration (mecabrc) names the dictionary.
const char *const IpadicUtf8 = "/var/lib/mecab/dic/ipadic-utf8";

// The IPA dictionary's features: part of speech (4 fields), conjugation
// (2 fields), base form, reading, pronunciation.
constexpr int ReadingField = 7;
constexpr int PronunciationField = 8;

QString spokenForm(const QStringList &features)
{
    for (const int field : {PronunciationField, ReadingField}) {
        if (features.size() > field && features.at(field) != u"*" && !features.at(field).isEmpty()) {
            return features.at(field);
        }
    }
    return {};
}

} // namespace

std::unique_ptr<MecabTagger> MecabTagger::create()
{
    const QByteArray arguments = QFileInfo::exists(QString::fromLatin1(IpadicUtf8) + QStringLiteral("/sys.dic"))
        ? QByteArray("-d ") + IpadicUtf8
        : QByteArray();
    mecab_t *mecab = mecab_new2(arguments.constData());
    if (!mecab) {
        return nullptr;
    }
    // The text goes in as UTF-8: a dictionary in another encoding would read
    // it as garbage.
    const mecab_dictionary_info_t *info = mecab_dictionary_info(mecab);
    const QByteArray charset = info && info->charset ? QByteArray(info->charset).toLower() : QByteArray();
    if (charset != "utf-8" && charset != "utf8") {
        mecab_destroy(mecab);
        return nullptr;
    }
    return std::unique_ptr<MecabTagger>(new MecabTagger(mecab));
}

MecabTagger::MecabTagger(mecab_t *mecab)
    : m_mecab(mecab)
{
}

MecabTagger::~MecabTagger()
{
    mecab_destroy(m_mecab);
}

QList<MecabTagger::Word> MecabTagger::words(const QString &text) const
{
    const QByteArray utf8 = text.toUtf8();
    const mecab_node_t *node = mecab_sparse_tonode2(m_mecab, utf8.constData(), static_cast<size_t>(utf8.size()));
    QList<Word> result;
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) {
            continue;
        }
        const QStringList features = QString::fromUtf8(node->feature).split(u',');
        const bool counter = features.size() > 2 && features.at(1) == u"接尾" && features.at(2) == u"助数詞";
        // rlength counts the white space before the word as well.
        result.append({QString::fromUtf8(node->surface, node->length), spokenForm(features),
                       node->rlength > node->length, counter});
    }
    return result;
}
