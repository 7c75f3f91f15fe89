#include "server/Admin.h"

#include "engine/Accounts.h"
#include "engine/Engine.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QSaveFile>
#include <memory>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

namespace dudodu::server {

bool runAccountCommand(const QString& folder, AccountCommand command, const QString& account,
                       const QString& password, QString* error) {
    const QString name = account.trimmed();
    if (name.isEmpty()) {
        *error = QStringLiteral("The account name is empty.");
        return false;
    }
    auto engine = engine::Engine::open(folder, error);
    if (!engine) return false;
    sqlite3* db = engine->handle();
    const bool exists = engine::accounts::exists(db, name);
    switch (command) {
    case AccountCommand::Add:
    case AccountCommand::ResetPassword:
        if (command == AccountCommand::Add && exists) {
            *error = QStringLiteral("The account %1 exists already; reset its password instead.").arg(name);
            return false;
        }
        if (command == AccountCommand::ResetPassword && !exists) {
            *error = QStringLiteral("There is no account %1.").arg(name);
            return false;
        }
        if (password.size() < kMinPasswordLength) {
            *error = QStringLiteral("The password must have at least %1 characters.").arg(kMinPasswordLength);
            return false;
        }
        return engine::accounts::setPassword(db, name, password, error);
    case AccountCommand::Disable:
    case AccountCommand::Enable:
        return engine::accounts::setDisabled(db, name, command == AccountCommand::Disable, error);
    }
    return false;
}

namespace {

template <typename T, void (*Free)(T*)> struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using Cert = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using Bio = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using Ext = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION, X509_EXTENSION_free>>;
using Bignum = std::unique_ptr<BIGNUM, Deleter<BIGNUM, BN_free>>;

QString opensslError() {
    char text[256] = {};
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    return QString::fromLatin1(text);
}

bool addExtension(X509* cert, int nid, const QByteArray& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    Ext ext(X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.constData()));
    return ext && X509_add_ext(cert, ext.get(), -1) == 1;
}

QByteArray pem(const std::function<int(BIO*)>& write) {
    Bio bio(BIO_new(BIO_s_mem()));
    if (!bio || write(bio.get()) != 1) return {};
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, qsizetype(size));
}

bool writeFile(const QString& path, const QByteArray& bytes, QFile::Permissions permissions, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(permissions) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool makeSelfSignedCertificate(const QString& certificateFile, const QString& keyFile,
                               const QStringList& hosts, int days, QString* error) {
    for (const QString& path : {certificateFile, keyFile}) {
        if (QFileInfo::exists(path)) {
            *error =
                QStringLiteral("%1 exists already; remove it first to make a new certificate.").arg(path);
            return false;
        }
    }
    QStringList names{QStringLiteral("DNS:localhost"), QStringLiteral("IP:127.0.0.1"),
                      QStringLiteral("IP:::1")};
    for (const QString& host : hosts) {
        const QString entry =
            (QHostAddress(host).isNull() ? QStringLiteral("DNS:") : QStringLiteral("IP:")) + host;
        if (!host.isEmpty() && !names.contains(entry)) names.prepend(entry);
    }
    const QByteArray commonName = (hosts.isEmpty() ? QStringLiteral("localhost") : hosts.first()).toUtf8();

    Key key(EVP_EC_gen("P-256"));
    Cert cert(X509_new());
    Bignum serial(BN_new());
    bool ok = key && cert && serial && X509_set_version(cert.get(), 2) == 1 &&
              BN_rand(serial.get(), 127, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) == 1 &&
              BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get())) &&
              X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600) &&
              X509_gmtime_adj(X509_getm_notAfter(cert.get()), long(days) * 24 * 3600) &&
              X509_set_pubkey(cert.get(), key.get()) == 1;
    if (ok) {
        X509_NAME* subject = X509_get_subject_name(cert.get());
        ok = X509_NAME_add_entry_by_txt(subject, "O", MBSTRING_UTF8,
                                        reinterpret_cast<const unsigned char*>("dudodu-server"), -1, -1,
                                        0) == 1 &&
             X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8,
                                        reinterpret_cast<const unsigned char*>(commonName.constData()), -1,
                                        -1, 0) == 1 &&
             X509_set_issuer_name(cert.get(), subject) == 1 &&
             addExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE") &&
             addExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyCertSign") &&
             addExtension(cert.get(), NID_ext_key_usage, "serverAuth") &&
             addExtension(cert.get(), NID_subject_key_identifier, "hash") &&
             addExtension(cert.get(), NID_subject_alt_name, names.join(u',').toUtf8()) &&
             X509_sign(cert.get(), key.get(), EVP_sha256()) > 0;
    }
    if (!ok) {
        *error = QStringLiteral("Cannot make the certificate: %1").arg(opensslError());
        return false;
    }
    const QByteArray keyPem = pem([&](BIO* bio) {
        return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
    const QByteArray certPem = pem([&](BIO* bio) { return PEM_write_bio_X509(bio, cert.get()); });
    if (keyPem.isEmpty() || certPem.isEmpty()) {
        *error = QStringLiteral("Cannot encode the certificate: %1").arg(opensslError());
        return false;
    }
    return writeFile(keyFile, keyPem, QFile::ReadOwner | QFile::WriteOwner, error) &&
           writeFile(certificateFile, certPem,
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther, error);
}

} // namespace dudodu::server
