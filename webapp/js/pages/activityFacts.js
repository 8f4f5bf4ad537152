// An activity's technician, prices and next date, as every list of activities shows them.
import {h} from '../dom.js';
import {dateText, moneySum, moneyText} from '../format.js';

export const prices = [
    ['cena_doprava', 'Doprava'], ['cena_prace', 'Práce'], ['cena_material', 'Materiál'],
    ['cena_ostatni', 'Ostatní']
];

export function facts(pairs) {
    return h('dl', {class: 'facts'},
             pairs.filter(([, value]) => value !== null && value !== undefined && value !== '')
                 .map(([term, value]) => [h('dt', {}, term), h('dd', {}, value)]));
}

export function activityFacts(a) {
    const amounts = prices.filter(([key]) => a[key] !== null && a[key] !== undefined && a[key] !== '');
    return [
        facts([
            ['Technik', a.technik], ...amounts.map(([key, label]) => [label, moneyText(a[key])]),
            amounts.length > 1 ? ['Celkem', moneyText(moneySum(amounts.map(([key]) => a[key])))] : ['', null],
            ['Příští revize', dateText(a.datum_pristi)]
        ]),
        a.poznamka ? h('p', {class: 'note'}, a.poznamka) : null
    ];
}

