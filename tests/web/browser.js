// How every test starts Debian's chromium; the scanning tests add the fake camera to it.
module.exports.browser = {
    executablePath : '/usr/bin/chromium',
    args :
         [
             '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync',
             '--ignore-certificate-errors', '--lang=cs-CZ'
         ],
    // Date fields follow the browser's own language, which comes from the environment.
    env : {...process.env, LANGUAGE : 'cs', LANG : 'cs_CZ.UTF-8'},
};
