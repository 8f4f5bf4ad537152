// Where a form goes once its record is saved or waits in the outbox. When the session ended
// under the save, the record waits in the outbox and the page comes after signing in again.
import {noticeOnNextPage} from '../layout.js';
import * as outbox from '../offline/outbox.js';
import {go} from '../router.js';

const noSignalNotice = 'Bez signálu: záznam je v telefonu a odešle se sám, až bude signál.';
const waitingNotice = 'Záznam je v telefonu a odešle se sám, až to půjde. Stav uvidíte na stránce Odesílání.';

export function afterSaving(answer, notice, hash) {
    if (answer.odhlaseno) {
        noticeOnNextPage(
            'Přihlášení vypršelo. Záznam je v telefonu a odešle se, jakmile se znovu přihlásíte.');
        go('#/prihlaseni?dalsi=' + encodeURIComponent(hash), {replace: true});
        return;
    }
    noticeOnNextPage(answer.stav === outbox.written ? notice
                     : answer.bez_signalu                ? noSignalNotice
                                                         : waitingNotice);
    go(hash, {replace: true});
}
