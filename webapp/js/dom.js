// Builds elements from plain values. Text always goes in as text, never as markup, so
// nothing a customer's record holds can turn into script.

export function h(tag, attributes, ...children) {
    const element = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) {
        if (value === null || value === undefined || value === false)
            continue;
        if (name.startsWith('on') && typeof value === 'function')
            element.addEventListener(name.slice(2), value);
        else if (name === 'class')
            element.className = value;
        else if (value === true)
            element.setAttribute(name, '');
        else
            element.setAttribute(name, String(value));
    }
    append(element, children);
    return element;
}

function append(element, children) {
    for (const child of children) {
        if (child === null || child === undefined || child === false)
            continue;
        if (Array.isArray(child))
            append(element, child);
        else if (child instanceof Node)
            element.appendChild(child);
        else
            element.appendChild(document.createTextNode(String(child)));
    }
}

// Replaces what a container shows.
export function show(container, ...children) {
    container.replaceChildren();
    append(container, children);
}
