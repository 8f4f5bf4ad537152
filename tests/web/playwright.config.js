// Debian's chromium, a phone's viewport, Czech; one worker, since the tests share a database.
// The app's service worker only in the tests of the shell itself, which run apart, on a server
// that serves the app from a folder (VESTIBOR_APLIKACE): the others see the network as it is.
const path = require('node:path');
const {defineConfig} = require('@playwright/test');
const {browser} = require('./browser.js');

const shellOnly = Boolean(process.env.VESTIBOR_APLIKACE);

const settings = {
    testDir: '.',
    testMatch: shellOnly ? ['shell.test.js'] : ['*.test.js'],
    testIgnore: shellOnly ? [] : ['shell.test.js'],
    workers: 1,
    retries: 0,
    timeout: 30000,
    reporter: 'list',
    globalSetup: require.resolve('./globalSetup.js'),
    outputDir: path.join(process.env.VESTIBOR_WORK || '/tmp', 'playwright-results'),
    use: {
        baseURL: process.env.VESTIBOR_URL,
        viewport: {width: 390, height: 844},
        locale: 'cs-CZ',
        ignoreHTTPSErrors: true,
        serviceWorkers: shellOnly ? 'allow' : 'block',
        launchOptions: browser,
    },
};

module.exports = defineConfig(settings);
